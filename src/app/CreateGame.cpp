#include "app/CreateGame.h"

#include "app/ExtProc.h"
#include "runtime/Game.h"
#include "runtime/MapViewer.h"
#include "runtime/QGameSystem.h"

Game* createGame(const QString& name, MapViewer* map, ExtProc* sink)
{
    auto* game = new Game(QStringLiteral("scripts/") + name + QStringLiteral(".js"));
    map->setEngine(game->scriptEngine());
    game->registerObject(QStringLiteral("mapviewer"), map);
    QGameSystem* system = game->systemObject();
    QObject::connect(system, &QGameSystem::writeMessage, sink, &ExtProc::getMessage);
    QObject::connect(system, &QGameSystem::writePair, sink, &ExtProc::getPair);
    QObject::connect(game, &Game::sendLog, sink, &ExtProc::getMessage);
    QObject::connect(game, &Game::sendTitle, sink, &ExtProc::setTitle);
    QObject::connect(system, &QGameSystem::showCursor, sink, &ExtProc::switchCursor);
    return game;
}
