#pragma once

// The sound tests' process sends all its audio to a wave file instead of a
// sound card (main() sets this up before the first sound is made); these read
// that output and generate the inputs.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

// A mono 16-bit 44.1 kHz WAV file holding `seconds` of the constant `level`.
inline QByteArray constantWav(double seconds, qint16 level)
{
    const quint32 rate = 44100;
    const quint32 frames = quint32(seconds * rate);
    QByteArray bytes;
    auto put32 = [&bytes](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        bytes.append(b, 4);
    };
    auto put16 = [&bytes](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        bytes.append(b, 2);
    };
    bytes.append("RIFF");
    put32(36 + frames * 2);
    bytes.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    bytes.append("data");
    put32(frames * 2);
    for (quint32 i = 0; i < frames; ++i)
        put16(quint16(level));
    return bytes;
}

// The 16-bit samples (channels interleaved) of a wave file that may still be
// being written: its data chunk simply runs to the end of the file. Empty
// when the file is missing or not 16-bit.
inline QVector<qint16> waveSamples(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt " && pos + 8 + 16 <= bytes.size()) {
            const quint16 bits = qFromLittleEndian<quint16>(bytes.constData() + pos + 8 + 14);
            if (bits != 16)
                return {};
        } else if (id == "data") {
            QVector<qint16> samples;
            for (int at = pos + 8; at + 2 <= bytes.size(); at += 2)
                samples.append(qFromLittleEndian<qint16>(bytes.constData() + at));
            return samples;
        }
        if (size > quint32(bytes.size()))
            return {};
        pos += 8 + int(size) + int(size & 1);
    }
    return {};
}

inline int peakLevel(const QVector<qint16>& samples, int from = 0)
{
    int peak = 0;
    for (int i = std::max(from, 0); i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

// An OpenAL configuration that sends all output to `wavePath` as 16-bit
// stereo at 44.1 kHz, undithered so silence is exactly zero.
inline QByteArray waveDriverConf(const QString& wavePath)
{
    return QStringLiteral("[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                          "frequency=44100\ndither=false\n[wave]\nfile=%1\n")
        .arg(wavePath)
        .toUtf8();
}

QString waveOutputPath();

inline QVector<qint16> waveOutputSamples()
{
    return waveSamples(waveOutputPath());
}
