#pragma once

#include "SoundWav.h"

// The sound tests' process sends all its audio to a wave file instead of a
// sound card; main() sets this up before the first sound is made.
QString waveOutputPath();

inline QVector<qint16> waveOutputSamples()
{
    return waveSamples(waveOutputPath());
}
