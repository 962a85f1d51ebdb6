#include "BenchSupport.h"
#include "runtime/Game.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Err.hpp>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <streambuf>
#include <vector>

void writeDataFile(const QString& relativePath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(relativePath).path());
    QFile file(relativePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

GameOwner makeGame(const QString& name, const QByteArray& scriptText)
{
    const QString path = QStringLiteral("scripts/") + name + QStringLiteral(".js");
    writeDataFile(path, scriptText);
    GameOwner game(new Game(path));
    game->callInit(QString());
    return game;
}

bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

namespace {

struct Lcg {
    std::uint32_t state;
    std::uint32_t next()
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
};

struct DiscardBuffer : std::streambuf {
    int overflow(int c) override { return traits_type::not_eof(c); }
};

void put16(QByteArray& bytes, int offset, int value)
{
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char((value >> 8) & 0xFF);
}

std::uint8_t pixelIndex(int x, int y, int width, int height, Lcg& random)
{
    if (y < height / 2)
        return std::uint8_t(((x / 24) * 7 + (y / 8) * 3) & 0xFF);
    if (x < width / 2)
        return 17;
    return std::uint8_t(random.next() & 0xFF);
}

} // namespace

QByteArray makePcx(int width, int height, std::uint32_t seed)
{
    QByteArray bytes(128, '\0');
    bytes[0] = 10;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = 8;
    put16(bytes, 8, width - 1);
    put16(bytes, 10, height - 1);
    put16(bytes, 12, 72);
    put16(bytes, 14, 72);
    bytes[65] = 1;
    const int lineBytes = width + (width & 1);
    put16(bytes, 66, lineBytes);
    put16(bytes, 68, 1);

    Lcg random{seed};
    std::vector<std::uint8_t> row(std::size_t(lineBytes), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            row[std::size_t(x)] = pixelIndex(x, y, width, height, random);
        for (int x = 0; x < lineBytes;) {
            const std::uint8_t value = row[std::size_t(x)];
            int run = 1;
            while (x + run < lineBytes && run < 63 && row[std::size_t(x + run)] == value)
                ++run;
            if (run > 1 || value >= 0xC0)
                bytes.append(char(0xC0 | run));
            bytes.append(char(value));
            x += run;
        }
    }
    bytes.append(char(12));
    for (int i = 0; i < 256; ++i) {
        bytes.append(char(i));
        bytes.append(char(255 - i));
        bytes.append(char((i * 7) & 0xFF));
    }
    return bytes;
}

// Besides the usual benchmark flags:
//   --write-pcx PATH W H   writes the test image for the peer decoder and exits.
int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--write-pcx") == 0) {
        QFile out(QString::fromLocal8Bit(argv[2]));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        out.write(makePcx(std::atoi(argv[3]), std::atoi(argv[4])));
        return 0;
    }
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir::setCurrent(scratch.path())) {
        std::fprintf(stderr, "no scratch directory\n");
        return 1;
    }
    // Sprites of missing files are made on purpose; keep the report readable.
    // (A null buffer would not do: the library reads its error stream's buffer.)
    static DiscardBuffer discard;
    sf::err().rdbuf(&discard);
    // The graphics library drops its shared context with its last resource and
    // aborts when it makes it again, so one resource lives for the whole run.
    std::optional<sf::Texture> keepContext;
    if (haveDisplay())
        keepContext.emplace();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
