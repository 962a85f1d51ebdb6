#include "TestGame.h"

#include "DataFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScriptEngine>

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

void TestGame::addFile(const QString& path, const QByteArray& bytes)
{
    writeDataFile(dir.path(), path, bytes);
}

void TestGame::addScript(const QString& name, const QString& source)
{
    addFile(scriptPath(name), source.toUtf8());
}

Game& TestGame::load(const QString& name)
{
    current.reset();
    logs.clear();
    current.reset(new Game(scriptPath(name), callTimeLimitMs));
    QObject::connect(current.get(), &Game::sendLog, [this](const QString& m) { logs << m; });
    return *current;
}

QString TestGame::eval(const QString& source)
{
    return current->scriptEngine()->evaluate(source).toString();
}
