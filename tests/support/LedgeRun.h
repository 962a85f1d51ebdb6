#pragma once

#include "DataFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

// Runs the real ledge (or ledge-play) on a scratch data/ of the test's files; reads its output.
class LedgeRun {
public:
    LedgeRun()
    {
        ensureTestApp();
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
        process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process.setReadChannel(QProcess::StandardError);
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString dataDir() const { return path(QStringLiteral("data")); }
    void addScript(const QString& name, const QString& source)
    {
        writeDataFile(dataDir(), scriptPath(name), source.toUtf8());
    }
    void setEnv(const QString& name, const QString& value)
    {
        QProcessEnvironment e = process.processEnvironment();
        e.insert(name, value);
        process.setProcessEnvironment(e);
    }

    // ledge finds data/ beside its start folder; ledge-play is given it and starts in the scratch.
    void start(const QStringList& args = {})
    {
        process.setWorkingDirectory(path(QStringLiteral("bin")));
        process.start(QStringLiteral(LEDGE_BINARY_PATH), args);
    }
    int play(const QStringList& options)
    {
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(LEDGE_PLAY_PATH), options + QStringList{dataDir()});
        return finish();
    }
    // The exit code; -1 when the run had to be killed (only a hang takes that long).
    int finish()
    {
        const bool ended = process.waitForFinished(120000);
        process.kill();
        process.waitForFinished();
        messages(); // read before the next run starts
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Debug messages so far, unquoted; other stderr lines left out.
    QStringList messages()
    {
        err += QString::fromUtf8(process.readAllStandardError());
        QStringList lines;
        for (const QString& line : err.split(QLatin1Char('\n')).mid(0, err.count('\n')))
            if (line.startsWith(QLatin1Char('"')))
                lines << debugText(line);
        return lines;
    }
    bool waitForMessage(const QString& text)
    {
        while (!messages().contains(text))
            if (!process.waitForReadyRead(120000))
                return false;
        return true;
    }
    QString rawStderr() const { return err; }

    QJsonObject report() const
    {
        return QJsonDocument::fromJson(readFile(path(QStringLiteral("report.json")))).object();
    }
    // The messages of a ledge-play report as "frame text".
    QStringList reportMessages() const
    {
        QStringList lines;
        for (const QJsonValue m : report()[QStringLiteral("messages")].toArray())
            lines << QString::number(m[QStringLiteral("frame")].toInt()) + ' ' +
                         m["text"].toString();
        return lines;
    }

private:
    QTemporaryDir dir;
    QProcess process;
    QString err;
};
