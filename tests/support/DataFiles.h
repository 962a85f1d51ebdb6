#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <ostream>

// Writes a file below a test's data directory, making its folders.
inline void writeDataFile(const QString& root, const QString& path, const QByteArray& bytes)
{
    const QString full = root + QLatin1Char('/') + path;
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The whole file; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file of the source tree, by its path from the root.
inline QByteArray sourceFile(const QString& path)
{
    return readFile(QStringLiteral(LEDGE_SOURCE_PATH "/") + path);
}

inline QString scriptPath(const QString& name)
{
    return QStringLiteral("scripts/") + name + QStringLiteral(".js");
}

// One line of qDebug() << QString output unquoted and unescaped; any other line as it is.
inline QString debugText(const QString& line)
{
    if (line.size() < 2 || !line.startsWith(QLatin1Char('"')) || !line.endsWith(QLatin1Char('"')))
        return line;
    QString out;
    for (int i = 1; i < line.size() - 1; ++i) {
        const bool escaped = line.at(i) == QLatin1Char('\\') && i + 2 < line.size();
        const QChar c = line.at(escaped ? ++i : i);
        out += escaped && c == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : c;
    }
    return out;
}

// The process-wide application object that timers, scripts and processes need.
inline void ensureTestApp()
{
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
