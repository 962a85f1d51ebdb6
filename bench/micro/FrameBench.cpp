// The runtime's per-frame and per-call costs: an empty frame, script calls of
// sprite slots, drawing, and a script's start.
#include "BenchSupport.h"
#include "Counters.h"
#include "app/CreateGame.h"
#include "app/ExtProc.h"
#include "objects/Sprite.h"
#include "runtime/Game.h"
#include "runtime/MapViewer.h"

#include <QScriptEngine>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <benchmark/benchmark.h>

namespace {

constexpr int CallsPerPass = 1000;

// Seconds per call, shown next to the time of a whole pass.
benchmark::Counter perCall()
{
    return benchmark::Counter(CallsPerPass, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

const QByteArray emptyScript = "function Init(params) {}\n"
                               "function Frame(dt) {}\n"
                               "function Render() {}\n";

void BM_EmptyFrame(benchmark::State& state)
{
    GameOwner game = makeGame(QStringLiteral("empty"), emptyScript);
    game->callFrame(1.0 / 60.0);
    const long start = heapAllocations();
    for (auto _ : state) {
        game->callFrame(1.0 / 60.0);
        game->callRender(nullptr);
    }
    state.counters["allocs_per_frame"] =
        double(heapAllocations() - start) / double(state.iterations());
}
BENCHMARK(BM_EmptyFrame);

// The per-frame work of the runtime for a script that made sprites it does
// not draw (each gets its update step).
void BM_EmptyFrameWith1000Sprites(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    GameOwner game =
        makeGame(QStringLiteral("idle"), "var list = [];\n"
                                         "function Init(params) {\n"
                                         "  for (var i = 0; i < 1000; ++i)\n"
                                         "    list.push(game.loadSprite('missing.png'));\n"
                                         "}\n"
                                         "function Frame(dt) {}\n"
                                         "function Render() {}\n");
    for (auto _ : state) {
        game->callFrame(1.0 / 60.0);
        game->callRender(nullptr);
    }
}
BENCHMARK(BM_EmptyFrameWith1000Sprites);

const QByteArray callScript = "var s, g;\n"
                              "function Init(params) {\n"
                              "  s = game.loadSprite('missing.png'); g = game;\n"
                              "}\n"
                              "function loopOnly(n) { for (var i = 0; i < n; ++i) {} }\n"
                              "function f(x, y) { return x; }\n"
                              "function jsCall(n) { for (var i = 0; i < n; ++i) f(i, i); }\n"
                              "function setXY(n) { for (var i = 0; i < n; ++i) s.setXY(i, i); }\n"
                              "function getWidth(n) { for (var i = 0; i < n; ++i) s.getWidth(); }\n"
                              "function isKeyDown(n) {\n"
                              "  for (var i = 0; i < n; ++i) g.isKeyDown(KEY_A);\n"
                              "}\n"
                              "function getTotalTime(n) {\n"
                              "  for (var i = 0; i < n; ++i) g.getTotalTime();\n"
                              "}\n";

// Heap allocations of this thread per call, over the whole run.
struct AllocationCount {
    long start = heapAllocations();
    void report(benchmark::State& state) const
    {
        const double calls = double(state.iterations()) * CallsPerPass;
        state.counters["allocs_per_call"] = double(heapAllocations() - start) / calls;
    }
};

// One pass calls the named loop function with CallsPerPass iterations. With
// engineCall, the sprite and the game are wrapped by the engine alone, so
// every call goes through its meta-object call (as every call did once).
void scriptLoop(benchmark::State& state, const char* function, bool engineCall = false)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    GameOwner game = makeGame(QStringLiteral("calls"), callScript);
    QScriptEngine* engine = game->scriptEngine();
    if (engineCall) {
        engine->globalObject().setProperty("s", engine->newQObject(game->spriteList().value(0)));
        engine->globalObject().setProperty("g", engine->newQObject(game.get()));
    }
    QScriptValue fn = engine->globalObject().property(QString::fromLatin1(function));
    const QScriptValueList args{QScriptValue(CallsPerPass)};
    fn.call(QScriptValue(), args);
    const AllocationCount count;
    for (auto _ : state)
        fn.call(QScriptValue(), args);
    state.counters["per_call"] = perCall();
    count.report(state);
}

void BM_Script_EmptyLoop(benchmark::State& state)
{
    scriptLoop(state, "loopOnly");
}
BENCHMARK(BM_Script_EmptyLoop);

void BM_Script_JsFunctionCall(benchmark::State& state)
{
    scriptLoop(state, "jsCall");
}
BENCHMARK(BM_Script_JsFunctionCall);

void BM_Script_SpriteSetXY(benchmark::State& state)
{
    scriptLoop(state, "setXY");
}
BENCHMARK(BM_Script_SpriteSetXY);

void BM_Script_SpriteSetXY_EngineCall(benchmark::State& state)
{
    scriptLoop(state, "setXY", true);
}
BENCHMARK(BM_Script_SpriteSetXY_EngineCall);

void BM_Script_SpriteGetWidth(benchmark::State& state)
{
    scriptLoop(state, "getWidth");
}
BENCHMARK(BM_Script_SpriteGetWidth);

void BM_Script_GameIsKeyDown(benchmark::State& state)
{
    scriptLoop(state, "isKeyDown");
}
BENCHMARK(BM_Script_GameIsKeyDown);

void BM_Script_GameIsKeyDown_EngineCall(benchmark::State& state)
{
    scriptLoop(state, "isKeyDown", true);
}
BENCHMARK(BM_Script_GameIsKeyDown_EngineCall);

void BM_Script_GameGetTotalTime(benchmark::State& state)
{
    scriptLoop(state, "getTotalTime");
}
BENCHMARK(BM_Script_GameGetTotalTime);

// Drawing onto an 800 x 600 render texture; each pass ends with a flush so
// the software rasteriser's work is in the figure as it is in a frame. Its
// worker threads do part of that work: CPU time is the whole process's.
struct DrawScene {
    sf::RenderTexture canvas;
    GameOwner game;
    Sprite* sprite = nullptr;

    DrawScene()
    {
        canvas.create(800, 600);
        writeDataFile(QStringLiteral("sprites/bunny.pcx"), makePcx(26, 37));
        game = makeGame(QStringLiteral("draw"),
                        "var s;\n"
                        "function Init(params) { s = game.loadSpritePCX8bit('bunny.pcx'); }\n"
                        "function Frame(dt) {}\n"
                        "function Render() {}\n"
                        "function draw(n) {\n"
                        "  for (var i = 0; i < n; ++i) s.renderTo(i % 800, (i * 7) % 600);\n"
                        "}\n");
        game->callRender(&canvas);
        sprite = game->spriteList().value(0);
    }
};

void BM_Draw_ScriptRenderTo(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    DrawScene scene;
    QScriptValue fn = scene.game->scriptEngine()->globalObject().property("draw");
    const QScriptValueList args{QScriptValue(CallsPerPass)};
    fn.call(QScriptValue(), args);
    scene.canvas.display();
    const AllocationCount count;
    for (auto _ : state) {
        fn.call(QScriptValue(), args);
        scene.canvas.display();
    }
    state.counters["per_call"] = perCall();
    count.report(state);
}
BENCHMARK(BM_Draw_ScriptRenderTo)->MeasureProcessCPUTime();

void BM_Draw_NativeRenderTo(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    DrawScene scene;
    for (auto _ : state) {
        for (int i = 0; i < CallsPerPass; ++i)
            scene.sprite->renderTo(i % 800, (i * 7) % 600);
        scene.canvas.display();
    }
    state.counters["per_call"] = perCall();
}
BENCHMARK(BM_Draw_NativeRenderTo)->MeasureProcessCPUTime();

// The graphics library alone: the floor for one draw.
void BM_Draw_LibrarySprite(benchmark::State& state)
{
    if (!haveDisplay())
        return state.SkipWithError("needs a display");
    DrawScene scene;
    sf::Texture texture;
    texture.create(26, 37);
    sf::Sprite sprite(texture);
    sprite.setOrigin(13, 18);
    for (auto _ : state) {
        for (int i = 0; i < CallsPerPass; ++i) {
            sprite.setPosition(float(i % 800), float((i * 7) % 600));
            scene.canvas.draw(sprite);
        }
        scene.canvas.display();
    }
    state.counters["per_call"] = perCall();
}
BENCHMARK(BM_Draw_LibrarySprite)->MeasureProcessCPUTime();

// From nothing to the end of the first Frame() of a trivial script, without
// the window: Game, engine, prelude, globals, Init, one frame, release.
void BM_StartToFirstFrame_NoWindow(benchmark::State& state)
{
    writeDataFile(QStringLiteral("scripts/main.js"),
                  "var frames = 0;\n"
                  "function Init(params) { game.setBackgroundColor(0, 0, 0); }\n"
                  "function Frame(dt) { ++frames; }\n"
                  "function Render() {}\n");
    MapViewer map(nullptr);
    ExtProc sink(nullptr);
    for (auto _ : state) {
        GameOwner game = createGame(QStringLiteral("main"), &map, &sink);
        game->callInit(QStringLiteral("{\"0\": \"ledge\", \"length\": 1}"));
        game->callFrame(1.0 / 60.0);
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstFrame_NoWindow)->Unit(benchmark::kMillisecond);

} // namespace
