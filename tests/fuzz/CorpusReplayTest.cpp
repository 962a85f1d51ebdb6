// Every committed fuzz input goes through its entry function again, so a
// fault the fuzzers once found fails the ordinary test run if it returns.
#include "FuzzTargets.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(CorpusReplay, EveryFileRunsCleanly)
{
    const std::pair<const char*, void (*)(const QByteArray&)> targets[] = {
        {"pcx", fuzz::pcxDecoder},           {"map", fuzz::mapReader},
        {"include", fuzz::includeExpansion}, {"json", fuzz::scriptJson},
        {"jsonread", fuzz::jsonReader},      {"image", fuzz::imageDecoder},
        {"sound", fuzz::soundDecoder},       {"font", fuzz::fontGlyphs}};
    for (const auto& [corpus, entry] : targets) {
        const QDir dir(QStringLiteral(LEDGE_FUZZ_CORPUS "/") + QLatin1String(corpus));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        EXPECT_FALSE(names.isEmpty()) << "no corpus in " << dir.path().toStdString();
        for (const QString& name : names) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            // A failing input aborts the process; its name is the last line before.
            std::fprintf(stderr, "%s/%s\n", corpus, qPrintable(name));
            entry(file.readAll());
        }
    }
}
