#pragma once

#include "DataFiles.h"
#include "runtime/Game.h"

#include <QScriptEngine>
#include <QString>
#include <QTemporaryDir>

// A Game built from script text in a temporary data directory, driven by the
// test frame by frame. The data directory becomes the current directory.
class TestGame {
public:
    explicit TestGame(const QString& mainSource = QString(),
                      int callTimeLimitMs = Game::defaultCallTimeLimitMs);
    ~TestGame();

    // Path relative to the data directory.
    void addFile(const QString& path, const QByteArray& bytes)
    {
        writeDataFile(dir.path(), path, bytes);
    }
    void addScript(const QString& name, const QString& source)
    {
        addFile(scriptPath(name), source.toUtf8());
    }
    // (Re)loads scripts/<name>.js into a fresh Game.
    Game& load(const QString& name = QStringLiteral("main"));
    Game& game() { return *current; }
    QString dataDir() const { return dir.path(); }

    // Evaluates code in the game's engine and returns the result as text.
    QString eval(const QString& code) { return game().scriptEngine()->evaluate(code).toString(); }

    // Messages the Game logged (sendLog) since the last load.
    QStringList logs;

private:
    int callTimeLimitMs;
    QTemporaryDir dir;
    QString previousDir;
    GameOwner current;
};
