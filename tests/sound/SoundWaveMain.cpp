// Entry point of the sound tests: OpenAL reads its configuration once per
// process, so the wave driver is chosen here before any test runs.
#include "SoundWav.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    waveOutputPath = dir.filePath(QStringLiteral("out.wav"));
    // All output to the file as 16-bit stereo at 44.1 kHz, undithered so
    // silence is exactly zero.
    QFile conf(dir.filePath(QStringLiteral("alsoft.conf")));
    if (!conf.open(QIODevice::WriteOnly))
        return 1;
    conf.write(QStringLiteral("[general]\ndrivers=wave\nsample-type=int16\nchannels=stereo\n"
                              "frequency=44100\ndither=false\n[wave]\nfile=%1\n")
                   .arg(waveOutputPath)
                   .toUtf8());
    conf.close();
    qputenv("ALSOFT_CONF", conf.fileName().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
