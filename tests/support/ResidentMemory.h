#pragma once

#include <QByteArray>
#include <QFile>

// This process's resident memory in KiB (0 where /proc is not there): for
// checks that memory stays flat, with wide margins.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
