// Navigation queries on a full 20 x 20 map, pure and through the script.
#include "BenchSupport.h"
#include "Counters.h"
#include "core/MapFile.h"
#include "core/PlatformMap.h"
#include "runtime/Game.h"
#include "runtime/MapViewer.h"

#include <QBuffer>
#include <QScriptEngine>
#include <SFML/Graphics/RenderTexture.hpp>
#include <benchmark/benchmark.h>

namespace {

constexpr int CallsPerPass = 1000;

benchmark::Counter perCall()
{
    return benchmark::Counter(CallsPerPass, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

// The tile images, written first: they fix the map's geometry.
void writeTiles()
{
    writeDataFile(QStringLiteral("gnd_mid.pcx"), makePcx(64, 65));
    writeDataFile(QStringLiteral("gnd_left.pcx"), makePcx(16, 65));
    writeDataFile(QStringLiteral("gnd_rght.pcx"), makePcx(16, 65));
    writeDataFile(QStringLiteral("caveback.pcx"), makePcx(64, 10));
    writeDataFile(QStringLiteral("gnd_ston.pcx"), makePcx(64, 65));
}

// Platforms with gaps, walls and caves on every row but the top one.
QByteArray mapText()
{
    QByteArray text = "20\n20\n";
    for (int r = 0; r < 20; ++r) {
        QByteArray row;
        for (int c = 0; c < 20; ++c) {
            const int k = (c * 7 + r * 3) % 11;
            row += r == 0 ? '.' : k < 5 ? 'G' : k == 5 ? 'W' : k == 6 ? 'C' : '.';
        }
        text += row + '\n';
    }
    return text;
}

PlatformMap makeMap()
{
    QByteArray bytes = mapText();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    TileMeasures measures;
    measures.tileWidth = 64;
    measures.rowPitch = 60;
    measures.capWidth = 16;
    measures.caveStripHeight = 10;
    PlatformMap map;
    map.setMeasures(measures);
    map.setGrid(grid);
    return map;
}

void BM_Map_IsNeedStop(benchmark::State& state)
{
    const PlatformMap map = makeMap();
    for (auto _ : state) {
        for (int i = 0; i < CallsPerPass; ++i) {
            const double x1 = (i * 37) % 1280;
            benchmark::DoNotOptimize(map.isNeedStop(x1, x1 + 5.0, i % 20, 30.0, (i & 1) != 0));
        }
    }
    state.counters["per_call"] = perCall();
}
BENCHMARK(BM_Map_IsNeedStop);

void BM_Map_PickSpawnPoint(benchmark::State& state)
{
    const PlatformMap map = makeMap();
    std::uint32_t r = 1;
    for (auto _ : state) {
        for (int i = 0; i < CallsPerPass; ++i) {
            r = r * 1103515245u + 12345u;
            benchmark::DoNotOptimize(map.pickSpawnPoint((i * 37) % 1280, i % 20, r));
        }
    }
    state.counters["per_call"] = perCall();
    state.counters["jump_points"] = double(map.jumpPoints().size());
}
BENCHMARK(BM_Map_PickSpawnPoint);

// The mapviewer slots as a script calls them (tile images written first,
// since they fix the map's geometry).
struct ScriptMap {
    std::unique_ptr<MapViewer> viewer;
    GameOwner game;
    QScriptValue isNeedStop;
    QScriptValue genSpawnPoint;

    ScriptMap()
    {
        writeTiles();
        writeDataFile(QStringLiteral("bench.map"), mapText());
        viewer = std::make_unique<MapViewer>(nullptr);
        game = makeGame(QStringLiteral("map"),
                        "function needStop(n) {\n"
                        "  for (var i = 0; i < n; ++i)\n"
                        "    mapviewer.isNeedStop((i * 37) % 1280, (i * 37) % 1280 + 5, i % 20,"
                        " 30, (i & 1) != 0);\n"
                        "}\n"
                        "function spawn(n) {\n"
                        "  for (var i = 0; i < n; ++i)\n"
                        "    mapviewer.genSpawnPoint((i * 37) % 1280, i % 20);\n"
                        "}\n");
        viewer->setEngine(game->scriptEngine());
        game->registerObject(QStringLiteral("mapviewer"), viewer.get());
        viewer->loadMapFromFile(QStringLiteral("bench.map"));
        isNeedStop = game->scriptEngine()->globalObject().property("needStop");
        genSpawnPoint = game->scriptEngine()->globalObject().property("spawn");
    }
};

void BM_Map_Script_IsNeedStop(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    ScriptMap map;
    const QScriptValueList args{QScriptValue(CallsPerPass)};
    for (auto _ : state)
        map.isNeedStop.call(QScriptValue(), args);
    state.counters["per_call"] = perCall();
}
BENCHMARK(BM_Map_Script_IsNeedStop);

void BM_Map_Script_GenSpawnPoint(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    ScriptMap map;
    const QScriptValueList args{QScriptValue(CallsPerPass)};
    for (auto _ : state)
        map.genSpawnPoint.call(QScriptValue(), args);
    state.counters["per_call"] = perCall();
}
BENCHMARK(BM_Map_Script_GenSpawnPoint);

// The whole map, every row ground with its caps, caves and stones, drawn
// onto an 800 x 600 render texture and flushed, as a frame draws it: the
// process's CPU time and the OpenGL draw calls per drawing.
void BM_Map_DrawDense(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    writeTiles();
    QByteArray text = "20\n20\n";
    for (int r = 0; r < 20; ++r)
        text += r % 5 == 4   ? "GGGGGGGGGCCGGGGGGGGG\n"
                : r % 5 == 2 ? "GGGGWGGGGGGGGGGWGGGG\n"
                             : "GGGGGGGGGGGGGGGGGGGG\n";
    writeDataFile(QStringLiteral("dense.map"), text);
    sf::RenderTexture canvas;
    canvas.create(800, 600);
    MapViewer viewer(&canvas);
    viewer.loadMapFromFile(QStringLiteral("dense.map"));
    viewer.render();
    canvas.display();
    const long calls = glDrawCalls();
    for (auto _ : state) {
        viewer.render();
        canvas.display();
    }
    state.counters["draw_calls"] = double(glDrawCalls() - calls) / double(state.iterations());
}
BENCHMARK(BM_Map_DrawDense)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace
