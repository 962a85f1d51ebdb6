#pragma once

#include <QByteArray>
#include <QString>

// The text of file bytes as every reader takes it (scripts, includes, saves,
// map rows): up to the first NUL, decoded as UTF-8.
inline QString textUpToNul(const QByteArray& bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}
