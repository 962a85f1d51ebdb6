#pragma once

#include <QByteArray>
#include <vector>

// An 8-bit PCX file made in the test: a 128-byte header carrying Xmax/Ymax,
// the run-length data bytes, then `trailer` (palette, with or without marker).
inline QByteArray pcxBytes(int xmax, int ymax, const std::vector<int>& data,
                           const QByteArray& trailer)
{
    QByteArray b(128, '\0');
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = char(xmax & 0xFF);
    b[9] = char(xmax >> 8);
    b[10] = char(ymax & 0xFF);
    b[11] = char(ymax >> 8);
    for (int d : data)
        b.append(char(d));
    return b + trailer;
}
