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

inline QString scriptPath(const QString& name)
{
    return QStringLiteral("scripts/") + name + QStringLiteral(".js");
}
