#include "LedgeRun.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Generous: only a hang should ever reach it.
constexpr int runLimitMs = 120000;

} // namespace

QString ledgeBinary()
{
    return QStringLiteral(LEDGE_BINARY_PATH);
}

LedgeRun::LedgeRun() : process(std::make_unique<QProcess>())
{
    ensureTestApp();
    QDir(dir.path()).mkpath(QStringLiteral("bin"));
    QDir(dir.path()).mkpath(QStringLiteral("data/scripts"));
    process->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process->setReadChannel(QProcess::StandardError);
}

LedgeRun::~LedgeRun()
{
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished();
    }
}

QString LedgeRun::dataDir() const
{
    return dir.path() + QStringLiteral("/data");
}

void LedgeRun::addFile(const QString& path, const QByteArray& bytes)
{
    writeDataFile(dataDir(), path, bytes);
}

void LedgeRun::addScript(const QString& name, const QString& source)
{
    addFile(scriptPath(name), source.toUtf8());
}

void LedgeRun::setEnv(const QString& name, const QString& value)
{
    QProcessEnvironment e = process->processEnvironment();
    e.insert(name, value);
    process->setProcessEnvironment(e);
}

void LedgeRun::start(const QStringList& args, const QString& program)
{
    // The program finds data/ beside the folder it is started from.
    process->setWorkingDirectory(program == ledgeBinary() ? dir.path() + QStringLiteral("/bin")
                                                          : dir.path());
    process->start(program, args);
    process->waitForStarted(runLimitMs);
}

void LedgeRun::readOutput()
{
    stderrText += QString::fromUtf8(process->readAllStandardError());
    process->readAllStandardOutput();
    for (int end; (end = stderrText.indexOf(QLatin1Char('\n'), parsedUpTo)) >= 0;
         parsedUpTo = end + 1) {
        const QString line = stderrText.mid(parsedUpTo, end - parsedUpTo);
        if (line.startsWith(QLatin1Char('"')))
            parsed << debugText(line);
    }
}

QStringList LedgeRun::messages()
{
    readOutput();
    return parsed;
}

bool LedgeRun::waitForMessage(const QString& text)
{
    while (!messages().contains(text))
        if (!process->waitForReadyRead(runLimitMs))
            return messages().contains(text);
    return true;
}

int LedgeRun::finish()
{
    const bool ended = process->waitForFinished(runLimitMs);
    if (!ended) {
        process->kill();
        process->waitForFinished();
    }
    readOutput();
    return ended && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

int LedgeRun::run(const QStringList& args)
{
    start(args);
    return finish();
}

int LedgeRun::play(const QStringList& options)
{
    start(options + QStringList{dataDir()}, QStringLiteral(LEDGE_PLAY_PATH));
    return finish();
}

QStringList LedgeRun::reportMessages(const QString& name) const
{
    QStringList lines;
    const QJsonObject report = QJsonDocument::fromJson(readFile(path(name))).object();
    for (const QJsonValue m : report.value(QStringLiteral("messages")).toArray())
        lines << QString::number(m[QStringLiteral("frame")].toInt()) + QLatin1Char(' ') +
                     m[QStringLiteral("text")].toString();
    return lines;
}
