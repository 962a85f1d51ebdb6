#pragma once

// The sound tests' process sends all its audio to a wave file instead of a
// sound card (main() sets this up before the first sound is made); these read
// that output and generate the inputs.
#include <QDataStream>
#include <QFile>
#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

// A mono 16-bit 44.1 kHz WAV file holding `seconds` of the constant `level`.
inline QByteArray constantWav(double seconds, qint16 level)
{
    const quint32 rate = 44100, frames = quint32(seconds * rate);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + frames * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << frames * 2;
    for (quint32 i = 0; i < frames; ++i)
        out << level;
    return bytes;
}

// Set by main() before any test runs.
inline QString waveOutputPath;

// The 16-bit samples (channels interleaved) of the output file, which may
// still be being written: its data chunk simply runs to the end of the file.
inline QVector<qint16> waveOutputSamples()
{
    QFile file(waveOutputPath);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QVector<qint16> samples;
    for (qint64 pos = 12; bytes.startsWith("RIFF") && pos + 8 <= bytes.size();
         pos += 8 + qFromLittleEndian<quint32>(bytes.constData() + pos + 4)) {
        if (bytes.mid(int(pos), 4) == "data") {
            for (qint64 at = pos + 8; at + 2 <= bytes.size(); at += 2)
                samples.append(qFromLittleEndian<qint16>(bytes.constData() + at));
            break;
        }
    }
    return samples;
}

inline int peakLevel(const QVector<qint16>& samples, int from = 0)
{
    int peak = 0;
    for (int i = std::max(from, 0); i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}
