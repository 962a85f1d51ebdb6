#include "MapSceneSupport.h"
#include "app/CreateGame.h"
#include "app/ExtProc.h"
#include "runtime/Game.h"
#include "runtime/MapViewer.h"

#include <QMetaMethod>
#include <QScriptEngine>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Games made as the entry point makes them, all sharing one MapViewer.
class MapScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(canvas.create(800, 600));
        mapscene::writeTileSet(test);
        test.addFile(QStringLiteral("level.map"), "6\n3\n......\nGGG..G\n..W.CC\n");
        viewer = std::make_unique<MapViewer>(&canvas);
    }
    void TearDown() override { start(QString()); }

    // An empty name only ends the current game.
    void start(const QString& name, const QString& source = QString())
    {
        game.reset();
        if (name.isEmpty())
            return;
        test.addScript(name, source);
        game = createGame(name, viewer.get(), &sink);
    }
    QString eval(const char* source)
    {
        return game->scriptEngine()->evaluate(QString::fromLatin1(source)).toString();
    }

    TestGame test;
    sf::RenderTexture canvas;
    ExtProc sink{nullptr};
    std::unique_ptr<MapViewer> viewer;
    GameOwner game;
};

} // namespace

TEST(MapViewerObject, OffersItsSevenSlotsInOrderAndNothingElse)
{
    const QMetaObject& meta = MapViewer::staticMetaObject;
    QStringList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        names << QString::fromLatin1(meta.method(i).methodSignature());
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral("render() loadMapFromFile(QString) getPlateCount() getPlateY(int) "
                             "isNeedStop(double,double,int,double,bool) canJumpTo(double,int) "
                             "genSpawnPoint(double,int)"));
    EXPECT_EQ(meta.propertyCount(), meta.propertyOffset());
}

TEST_F(MapScript, TheMapAnswersEveryScriptAndSurvivesASwitch)
{
    start(QStringLiteral("main"));
    EXPECT_EQ(eval("JSON.stringify(mapviewer.genSpawnPoint(0, 0))"), QStringLiteral("{}"))
        << "no map, no point";
    eval("mapviewer.loadMapFromFile('level.map')");
    start(QStringLiteral("second"));
    // Plate 0 of the example map has floor in columns 0-2; columns are 40 wide.
    EXPECT_EQ(eval("[mapviewer.getPlateCount(), mapviewer.getPlateY(0),"
                   " mapviewer.isNeedStop(110, 120, 0, 5, false),"
                   " mapviewer.isNeedStop(110, 120, 0, 5, true), mapviewer.canJumpTo(100, 1),"
                   " mapviewer.canJumpTo(80, 1), mapviewer.render()].join()"),
              QStringLiteral("3,76,true,false,true,false,"));

    // Player at 100 on plate 0: (60,0) and (100,0) are too near; (20,0) is
    // exactly two columns away.
    EXPECT_EQ(eval("var seen = {}, bad = '';"
                   "for (var i = 0; i < 3000; i++) { var p = mapviewer.genSpawnPoint(100, 0);"
                   "  if (p.y === 0 && Math.abs(p.x - 100) < 80) bad += p.x + ' ';"
                   "  seen[p.x + ',' + p.y] = (seen[p.x + ',' + p.y] || 0) + 1; }"
                   "bad + Object.keys(seen).sort().join(' ')"),
              QStringLiteral("100,1 140,2 180,1 180,2 20,0 20,2 220,0 220,1 220,2 60,2"));
    EXPECT_EQ(eval("Object.keys(seen).every(function (k) { return seen[k] > 150; })"),
              QStringLiteral("true"))
        << eval("JSON.stringify(seen)").toStdString();
}
