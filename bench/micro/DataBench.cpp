// Pure data paths: PCX decoding, include expansion, JSON text, pixel conversion.
#include "BenchSupport.h"
#include "core/IncludeExpander.h"
#include "core/PcxImage.h"
#include "objects/PixelConversion.h"
#include "objects/ScriptWatchdog.h"
#include "objects/Sprite.h"
#include "runtime/Game.h"
#include "runtime/ScriptJson.h"

#include <QHash>
#include <QScriptEngine>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// Output bytes per second are RGBA bytes, as the texture upload sees them.
void BM_PcxDecode(benchmark::State& state)
{
    const int side = int(state.range(0));
    const QByteArray bytes = makePcx(side, side);
    for (auto _ : state) {
        PcxImage image;
        image.decode(bytes, state.range(1) != 0, 16384);
        benchmark::DoNotOptimize(image.pixels());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(side) * side * 4);
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_PcxDecode)->Args({1024, 0})->Args({1024, 1})->ArgNames({"side", "transp"});

// A 5,000-line script of ordinary code; range(0) of its lines are includes.
void BM_IncludeExpansion(benchmark::State& state)
{
    const int lines = 5000;
    const int includes = int(state.range(0));
    QHash<QString, QByteArray> files;
    QString text;
    const int every = includes > 0 ? lines / includes : lines + 1;
    for (int i = 0; i < lines; ++i) {
        if (i % every == every - 1) {
            const QString name = QStringLiteral("lib%1.js").arg(i);
            QByteArray lib;
            for (int k = 0; k < 20; ++k)
                lib += "function helper" + QByteArray::number(i * 100 + k) +
                       "(a, b) { return a * b + " + QByteArray::number(k) + "; }\n";
            files.insert(QStringLiteral("scripts/") + name, lib);
            text += QStringLiteral("$include<") + name + QStringLiteral(">\n");
        } else {
            text += QStringLiteral("    var value%1 = compute(x + %1, y * 2); // step\n").arg(i);
        }
    }
    const FileReader reader = [&files](const QString& path, qint64) -> std::optional<QByteArray> {
        const auto it = files.constFind(path);
        if (it == files.constEnd())
            return std::nullopt;
        return *it;
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(expandIncludes(text, reader));
    state.SetItemsProcessed(state.iterations() * lines);
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_IncludeExpansion)->Arg(0)->Arg(50)->ArgName("includes");

void BM_ScriptValueToJson_1000(benchmark::State& state)
{
    QScriptEngine engine;
    const QScriptValue object =
        engine.evaluate("(function() {\n"
                        "  var o = {};\n"
                        "  for (var i = 0; i < 1000; ++i) {\n"
                        "    if (i % 3 == 0) o['key' + i] = i * 1.5;\n"
                        "    else if (i % 3 == 1) o['key' + i] = 'text ' + i;\n"
                        "    else o['key' + i] = [i, true, null];\n"
                        "  }\n"
                        "  return o;\n"
                        "})()");
    for (auto _ : state)
        benchmark::DoNotOptimize(scriptValueToJson(object));
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ScriptValueToJson_1000)->Unit(benchmark::kMicrosecond);

const char* const swapChannels = "(function(p) { return {r: p.g, g: p.b, b: p.r, a: p.a}; })";

// One script evaluation per pixel, without the texture round trip.
void BM_ConvertPixelBuffer_64(benchmark::State& state)
{
    QScriptEngine engine;
    ScriptWatchdog guard(&engine, 20000);
    std::vector<std::uint8_t> rgba(64 * 64 * 4, 128);
    const QString func = QString::fromLatin1(swapChannels);
    for (auto _ : state)
        convertPixelBuffer(guard, rgba.data(), 64, 64, func);
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_ConvertPixelBuffer_64)->Unit(benchmark::kMillisecond);

// The sprite slot: texture read back, converted, uploaded again.
void BM_SpriteConvertPixels_64(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    writeDataFile(QStringLiteral("sprites/square.pcx"), makePcx(64, 64));
    GameOwner game =
        makeGame(QStringLiteral("convert"),
                 "var s;\n"
                 "function Init(params) { s = game.loadSpritePCX8bit('square.pcx'); }\n");
    Sprite* sprite = game->spriteList().value(0);
    const QString func = QString::fromLatin1(swapChannels);
    for (auto _ : state)
        sprite->convertPixels(func);
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_SpriteConvertPixels_64)->Unit(benchmark::kMillisecond);

} // namespace
