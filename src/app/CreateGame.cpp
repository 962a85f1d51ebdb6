#include "app/CreateGame.h"

#include "app/ExtProc.h"
#include "runtime/MapViewer.h"
#include "runtime/QGameSystem.h"

GameOwner createGame(const QString& name, MapViewer* map, ExtProc* sink)
{
    GameOwner game(new Game(QStringLiteral("scripts/") + name + QStringLiteral(".js")));
    game->setWindowRequests(sink);
    map->setEngine(game->scriptEngine());
    map->drawWith(game.get());
    game->registerObject(QStringLiteral("mapviewer"), map);
    QGameSystem* system = game->systemObject();
    QObject::connect(system, &QGameSystem::writeMessage, sink, &ExtProc::getMessage);
    QObject::connect(system, &QGameSystem::writePair, sink, &ExtProc::getPair);
    QObject::connect(game.get(), &Game::sendLog, sink, &ExtProc::getMessage);
    QObject::connect(game.get(), &Game::sendTitle, sink, &ExtProc::setTitle);
    QObject::connect(system, &QGameSystem::showCursor, sink, &ExtProc::switchCursor);
    return game;
}
