#pragma once

#include "DataFiles.h"
#include "runtime/Game.h"

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
    void addFile(const QString& path, const QByteArray& bytes);
    void addScript(const QString& name, const QString& source);
    // (Re)loads scripts/<name>.js into a fresh Game.
    Game& load(const QString& name = QStringLiteral("main"));
    Game& game() { return *current; }
    QString dataDir() const { return dir.path(); }

    // Evaluates source in the game's engine and returns the result as text.
    QString eval(const QString& source);

    // Messages the Game logged (sendLog) since the last load.
    QStringList logs;

private:
    int callTimeLimitMs;
    QTemporaryDir dir;
    QString previousDir;
    GameOwner current;
};
