#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

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
