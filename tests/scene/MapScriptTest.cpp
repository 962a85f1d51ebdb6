#include "CreateGame.h"
#include "ExtProc.h"
#include "Game.h"
#include "MapSceneSupport.h"
#include "MapViewer.h"

#include <QMetaMethod>
#include <QScriptEngine>
#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Games made the way the entry point makes them, with one MapViewer for all.
class MapScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(canvas.create(800, 600));
        mapscene::writeTileSet(test);
        // The example map; columns are 40 wide, so jump points lie at 20 + 40 c.
        test.addFile(QStringLiteral("level.map"), "6\n3\n......\nGGG..G\n..W.CC\n");
        viewer = std::make_unique<MapViewer>(&canvas);
    }
    void TearDown() override { endGame(); }

    // `mapviewer` is registered after the script's top-level code has run,
    // so `setup` is evaluated once the game stands.
    Game& startGame(const QString& name, const QString& source, const QString& setup = QString())
    {
        endGame();
        test.addScript(name, source);
        game.reset(createGame(name, viewer.get(), &sink));
        if (!setup.isEmpty())
            eval(setup);
        return *game;
    }
    void endGame()
    {
        if (game)
            game->releaseAll();
        game.reset();
    }
    QString eval(const QString& source)
    {
        return game->scriptEngine()->evaluate(source).toString();
    }

    TestGame test;
    sf::RenderTexture canvas;
    ExtProc sink{nullptr};
    std::unique_ptr<MapViewer> viewer;
    std::unique_ptr<Game> game;
};

} // namespace

TEST(MapViewerObject, ScriptsSeeTheSevenSlotsInOrderAndNothingElse)
{
    const QMetaObject& meta = MapViewer::staticMetaObject;
    QStringList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        EXPECT_EQ(method.methodType(), QMetaMethod::Slot) << method.methodSignature().data();
        if (method.access() == QMetaMethod::Public)
            names << QString::fromLatin1(method.methodSignature());
    }
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral("render() loadMapFromFile(QString) getPlateCount() getPlateY(int) "
                             "isNeedStop(double,double,int,double,bool) canJumpTo(double,int) "
                             "genSpawnPoint(double,int)"));
    EXPECT_EQ(meta.propertyCount(), meta.propertyOffset());
}

TEST_F(MapScript, ScriptsLoadTheMapAndAskItTheirQuestions)
{
    startGame(QStringLiteral("main"), QString(),
              QStringLiteral("mapviewer.loadMapFromFile('level.map');"));
    const struct {
        const char* expression;
        const char* result;
    } cases[] = {
        {"mapviewer.getPlateCount()", "3"},
        {"mapviewer.getPlateY(0)", "76"}, // 40 + 30 + 6
        {"mapviewer.getPlateY(2)", "136"},
        {"mapviewer.isNeedStop(110, 120, 0, 5, false)", "true"}, // end of the ground run
        {"mapviewer.isNeedStop(110, 120, 0, 5, true)", "false"},
        {"mapviewer.isNeedStop(20, 20, 2, 20, false)", "true"}, // window edge
        {"mapviewer.canJumpTo(100, 1)", "true"},
        {"mapviewer.canJumpTo(80, 1)", "false"},
        {"mapviewer.canJumpTo(100, 3)", "false"},
        {"mapviewer.render()", "undefined"},
        {"mapviewer.loadMapFromFile('missing.map'); mapviewer.getPlateCount()", "3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(QString::fromLatin1(c.expression)), QString::fromLatin1(c.result))
            << c.expression;
}

TEST_F(MapScript, TheLoadedMapOutlivesAScriptSwitch)
{
    startGame(QStringLiteral("main"), QString(),
              QStringLiteral("mapviewer.loadMapFromFile('level.map');"));
    startGame(QStringLiteral("second"), QString(),
              QStringLiteral("var p = mapviewer.genSpawnPoint(0, 9);"));
    EXPECT_EQ(eval(QStringLiteral("mapviewer.getPlateCount()")), QStringLiteral("3"));
    EXPECT_EQ(eval(QStringLiteral("typeof p.x + ' ' + typeof p.y")),
              QStringLiteral("number number"))
        << "the spawn point is made in the new script's engine";
}

TEST_F(MapScript, SpawnPointsAvoidThePlayerAndCoverEveryOtherPoint)
{
    startGame(QStringLiteral("main"), QString(), QStringLiteral(R"(
        mapviewer.loadMapFromFile('level.map');
        var seen = {}, bad = [];
        for (var i = 0; i < 3000; i++) {
            var p = mapviewer.genSpawnPoint(100, 0);
            if (p.y !== Math.floor(p.y) || p.y < 0 || p.y > 2) bad.push('y ' + p.y);
            if (p.y == 0 && Math.abs(p.x - 100) < 80) bad.push(p.x + ',' + p.y);
            var k = p.x + ',' + p.y;
            seen[k] = (seen[k] || 0) + 1;
        }
        var keys = Object.keys(seen).sort();
        var spread = keys.every(function (k) { return seen[k] > 150 && seen[k] < 450; });
    )"));
    EXPECT_EQ(eval(QStringLiteral("bad.join(' ')")), QString());
    // Ten acceptable points; (20, 0) lies exactly two columns from the player.
    EXPECT_EQ(eval(QStringLiteral("keys.join(' ')")),
              QStringLiteral("100,1 140,2 180,1 180,2 20,0 20,2 220,0 220,1 220,2 60,2"));
    EXPECT_EQ(eval(QStringLiteral("spread")), QStringLiteral("true"))
        << eval(QStringLiteral("JSON.stringify(seen)")).toStdString();
}

TEST_F(MapScript, SpawnWithoutAnAcceptablePointReturnsAnEmptyObject)
{
    test.addFile(QStringLiteral("one.map"), "1\n1\nG\n");
    startGame(QStringLiteral("main"), QString());
    EXPECT_EQ(eval(QStringLiteral("JSON.stringify(mapviewer.genSpawnPoint(0, 0))")),
              QStringLiteral("{}"))
        << "no map loaded";
    eval(QStringLiteral("mapviewer.loadMapFromFile('one.map')"));
    EXPECT_EQ(eval(QStringLiteral("JSON.stringify(mapviewer.genSpawnPoint(20, 0))")),
              QStringLiteral("{}"));
    EXPECT_EQ(eval(QStringLiteral("JSON.stringify(mapviewer.genSpawnPoint(20, 1))")),
              QStringLiteral("{\"x\":20,\"y\":0}"));
}

TEST_F(MapScript, RenderDrawsTheMapWhereTheScriptAsksForIt)
{
    Game& g = startGame(QStringLiteral("main"), QStringLiteral(R"(
        function Init() { mapviewer.loadMapFromFile('level.map'); return true; }
        function Frame() { return true; }
        function Render() { mapviewer.render(); return true; }
    )"));
    ASSERT_TRUE(g.callInit(QStringLiteral("{}")));
    ASSERT_TRUE(g.callRender(&canvas));
    canvas.display();
    spritescene::expectPixels(canvas.getTexture().copyToImage(),
                              {{10, 80, spritescene::red},    // ground of row 1
                               {125, 80, spritescene::blue},  // its right cap
                               {10, 20, spritescene::black}}, // the free band on top
                              "map drawn from Render()");
}
