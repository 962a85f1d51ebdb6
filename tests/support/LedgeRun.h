#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The ledge executable under test.
QString ledgeBinary();

// Runs the real ledge binary from a temporary directory whose data/ holds the
// test's own files, and reads its debug output line by line.
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
    // Debug messages so far, unquoted and unescaped; other stderr lines left out.
    QStringList messages();
    // Waits until a debug message equal to `text` has arrived.
    bool waitForMessage(const QString& text, int timeoutMs = 20000);
    // The X window id of the running program; empty when none appeared.
    QString windowId(int timeoutMs = 20000);
    void closeWindow();
    // Waits for the process to end; -1 when it had to be killed.
    int finish(int timeoutMs = 30000);
    QString rawStderr() const { return stderrText; }

    // Whole run: files already added, waits for the exit.
    int run(const QStringList& args = {}, int timeoutMs = 30000);
    // A whole run of ledge-play with these options on data/, from the
    // temporary directory (relative paths land there).
    int play(const QStringList& options, int timeoutMs = 60000);
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

// Unquotes one line of qDebug() << QString output; false when it is not one.
bool parseDebugLine(const QString& line, QString* text);

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
