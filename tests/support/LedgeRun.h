#pragma once

#include "DataFiles.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The ledge executable under test.
QString ledgeBinary();

// Runs the real ledge binary (or ledge-play) from a temporary directory
// whose data/ holds the test's own files, and reads its debug output.
class LedgeRun {
public:
    LedgeRun();
    ~LedgeRun();

    // Path relative to data/, e.g. "scripts/main.js".
    void addFile(const QString& path, const QByteArray& bytes);
    void addScript(const QString& name, const QString& source);
    QString dataDir() const;
    void setEnv(const QString& name, const QString& value);

    void start(const QStringList& args = {}, const QString& program = ledgeBinary());
    // Debug messages so far, unquoted; other stderr lines left out.
    QStringList messages();
    // Waits until a debug message equal to `text` has arrived or the run ended.
    bool waitForMessage(const QString& text);
    // Waits for the process to end; -1 when it had to be killed.
    int finish();
    QString rawStderr() const { return stderrText; }

    // Whole run: files already added, waits for the exit.
    int run(const QStringList& args = {});
    // A whole run of ledge-play with these options on data/, from the
    // temporary directory (relative paths land there).
    int play(const QStringList& options);
    QString path(const QString& name) const { return dir.filePath(name); }
    // The messages of a ledge-play report as "frame text".
    QStringList reportMessages(const QString& name) const;

private:
    void readOutput();

    QTemporaryDir dir;
    std::unique_ptr<QProcess> process;
    QString stderrText;
    QStringList parsed;
    int parsedUpTo = 0;
};
