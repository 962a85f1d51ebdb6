#pragma once

#include <QByteArray>
#include <vector>

// An 8-bit PCX file made in the test: a 128-byte header carrying Xmax/Ymax,
// the run-length data bytes, then `trailer` (palette, with or without marker).
inline QByteArray pcxBytes(int xmax, int ymax, const std::vector<int>& data,
                           const QByteArray& trailer)
{
    const char head[] = {
        10, 5, 1, 8, 0, 0, 0, 0, char(xmax), char(xmax >> 8), char(ymax), char(ymax >> 8)};
    QByteArray b = QByteArray(head, sizeof head) + QByteArray(128 - sizeof head, '\0');
    for (int d : data)
        b.append(char(d));
    return b + trailer;
}
