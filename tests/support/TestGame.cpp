#include "TestGame.h"

TestGame::TestGame(const QString& mainSource, int callTimeLimitMs)
    : callTimeLimitMs(callTimeLimitMs)
{
    ensureTestApp();
    previousDir = QDir::currentPath();
    QDir(dir.path()).mkpath(QStringLiteral("scripts"));
    QDir::setCurrent(dir.path());
    if (!mainSource.isNull()) {
        addScript(QStringLiteral("main"), mainSource);
        load();
    }
}

TestGame::~TestGame()
{
    current.reset();
    QDir::setCurrent(previousDir);
}

Game& TestGame::load(const QString& name)
{
    current.reset();
    logs.clear();
    current.reset(new Game(scriptPath(name), callTimeLimitMs));
    QObject::connect(current.get(), &Game::sendLog, [this](const QString& m) { logs << m; });
    return *current;
}
