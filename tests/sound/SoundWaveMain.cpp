// Entry point of the sound tests: OpenAL reads its configuration once per
// process, so the wave driver is chosen here before any test runs.
#include "SoundWav.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString outputPath;
}

QString waveOutputPath()
{
    return outputPath;
}

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    outputPath = dir.filePath(QStringLiteral("out.wav"));
    const QString confPath = dir.filePath(QStringLiteral("alsoft.conf"));
    QFile conf(confPath);
    if (!conf.open(QIODevice::WriteOnly))
        return 1;
    conf.write(waveDriverConf(outputPath));
    conf.close();
    qputenv("ALSOFT_CONF", confPath.toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
