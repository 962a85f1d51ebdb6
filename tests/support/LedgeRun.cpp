#include "LedgeRun.h"

#include "DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

namespace {

QCoreApplication* ensureApp()
{
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    return QCoreApplication::instance();
}

} // namespace

QString ledgeBinary()
{
    return QStringLiteral(LEDGE_BINARY_PATH);
}

bool parseDebugLine(const QString& line, QString* text)
{
    if (line.size() < 2 || !line.startsWith(QLatin1Char('"')) || !line.endsWith(QLatin1Char('"')))
        return false;
    QString out;
    for (int i = 1; i < line.size() - 1; ++i) {
        QChar c = line.at(i);
        if (c == QLatin1Char('\\') && i + 1 < line.size() - 1) {
            const QChar n = line.at(++i);
            if (n == QLatin1Char('n'))
                c = QLatin1Char('\n');
            else if (n == QLatin1Char('t'))
                c = QLatin1Char('\t');
            else if (n == QLatin1Char('r'))
                c = QLatin1Char('\r');
            else if (n == QLatin1Char('u') && i + 4 < line.size() - 1) {
                c = QChar(line.mid(i + 1, 4).toUShort(nullptr, 16));
                i += 4;
            } else
                c = n;
        }
        out += c;
    }
    *text = out;
    return true;
}

LedgeRun::LedgeRun()
{
    ensureApp();
    QDir(dir.path()).mkpath(QStringLiteral("bin"));
    QDir(dir.path()).mkpath(QStringLiteral("data/scripts"));
}

LedgeRun::~LedgeRun()
{
    if (process && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(5000);
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
    if (!process)
        process = std::make_unique<QProcess>();
    QProcessEnvironment e = process->processEnvironment().isEmpty()
                                ? QProcessEnvironment::systemEnvironment()
                                : process->processEnvironment();
    e.insert(name, value);
    process->setProcessEnvironment(e);
}

void LedgeRun::start(const QStringList& args, const QString& program)
{
    if (!process)
        process = std::make_unique<QProcess>();
    process->setWorkingDirectory(program == ledgeBinary() ? dir.path() + QStringLiteral("/bin")
                                                          : dir.path());
    process->setProgram(program);
    process->setArguments(args);
    process->start();
    process->waitForStarted(10000);
}

void LedgeRun::readOutput()
{
    if (!process)
        return;
    process->waitForReadyRead(50);
    stderrText += QString::fromUtf8(process->readAllStandardError());
    process->readAllStandardOutput();
    const int lastBreak = stderrText.lastIndexOf(QLatin1Char('\n'));
    while (parsedUpTo <= lastBreak) {
        const int end = stderrText.indexOf(QLatin1Char('\n'), parsedUpTo);
        QString text;
        if (parseDebugLine(stderrText.mid(parsedUpTo, end - parsedUpTo), &text))
            parsed << text;
        parsedUpTo = end + 1;
    }
}

QStringList LedgeRun::messages()
{
    readOutput();
    return parsed;
}

bool LedgeRun::waitForMessage(const QString& text, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (messages().contains(text))
            return true;
        if (process->state() == QProcess::NotRunning) {
            readOutput();
            return parsed.contains(text);
        }
    }
    return false;
}

QString LedgeRun::windowId(int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QProcess search;
        // The window carries no pid property; its class name is the program's.
        // Window tests run one at a time, so the newest such window is ours.
        search.start(
            QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--classname"), QStringLiteral("^ledge$")});
        search.waitForFinished(5000);
        const QString out = QString::fromUtf8(search.readAllStandardOutput()).trimmed();
        if (!out.isEmpty())
            return out.split(QLatin1Char('\n')).last();
        QThread::msleep(100);
    }
    return QString();
}

void LedgeRun::closeWindow()
{
    const QString id = windowId();
    QProcess::execute(QStringLiteral(LEDGE_XCLOSE_PATH), {id});
}

int LedgeRun::finish(int timeoutMs)
{
    if (!process->waitForFinished(timeoutMs)) {
        process->kill();
        process->waitForFinished(5000);
        readOutput();
        return -1;
    }
    readOutput();
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}

int LedgeRun::run(const QStringList& args, int timeoutMs)
{
    start(args);
    return finish(timeoutMs);
}

int LedgeRun::play(const QStringList& options, int timeoutMs)
{
    start(options + QStringList{dataDir()}, QStringLiteral(LEDGE_PLAY_PATH));
    return finish(timeoutMs);
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
