// Every committed fuzz input goes through its entry function again, so a
// fault the fuzzers once found fails the ordinary test run if it returns.
#include "FuzzTargets.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct Target {
    const char* corpus;
    int (*entry)(const std::uint8_t*, std::size_t);
};

class CorpusReplay : public ::testing::TestWithParam<Target> {};

TEST_P(CorpusReplay, EveryFileRunsCleanly)
{
    const QDir dir(QStringLiteral(LEDGE_FUZZ_CORPUS "/") + QLatin1String(GetParam().corpus));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << "no corpus in " << dir.path().toStdString();
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        // A failing input aborts the process; its name is the last line before.
        std::fprintf(stderr, "%s/%s\n", GetParam().corpus, qPrintable(name));
        GetParam().entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         std::size_t(bytes.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fuzz, CorpusReplay,
    ::testing::Values(Target{"pcx", fuzz::pcxDecoder}, Target{"map", fuzz::mapReader},
                      Target{"include", fuzz::includeExpansion}, Target{"json", fuzz::scriptJson},
                      Target{"jsonread", fuzz::jsonReader}, Target{"image", fuzz::imageDecoder},
                      Target{"sound", fuzz::soundDecoder}, Target{"font", fuzz::fontGlyphs}),
    [](const ::testing::TestParamInfo<Target>& param) { return std::string(param.param.corpus); });

} // namespace
