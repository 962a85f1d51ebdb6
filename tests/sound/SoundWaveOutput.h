#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The sound tests' process sends all its audio to a wave file instead of a
// sound card; main() sets this up before the first sound is made.
QString waveOutputPath();

// 16-bit samples of the wave output written so far (interleaved channels);
// empty when nothing has been written yet.
QVector<qint16> waveOutputSamples();

// A mono 16-bit 44.1 kHz WAV file holding `seconds` of the constant `level`.
QByteArray constantWav(double seconds, qint16 level);

int peakLevel(const QVector<qint16>& samples, int from = 0);
