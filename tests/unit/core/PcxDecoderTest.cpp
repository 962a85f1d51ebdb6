#include "PcxBytes.h"
#include "core/PcxImage.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A PCX file: 128-byte header with Xmax/Ymax, the given data, then the last
// paletteBytes of a palette where entry i is (i, 255 - i, i ^ 0x5A).
QByteArray pcx(int xmax, int ymax, const std::vector<int>& data, int paletteBytes = 768)
{
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette.append(char(i)).append(char(255 - i)).append(char(i ^ 0x5A));
    return pcxBytes(xmax, ymax, data, palette.right(paletteBytes));
}

std::array<int, 4> px(const PcxImage& img, int x, int y)
{
    const std::uint8_t* p = img.pixels() + (y * img.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Palette index (the test palette's red) or alpha of every pixel, row by row.
std::vector<int> channel(const PcxImage& img, int c)
{
    std::vector<int> out;
    for (int i = 0; i < img.width() * img.height(); ++i)
        out.push_back(img.pixels()[i * 4 + c]);
    return out;
}

std::vector<int> repeat(int n, int value, std::vector<int> tail = {})
{
    std::vector<int> v(n, value);
    v.insert(v.end(), tail.begin(), tail.end());
    return v;
}

const std::vector<int> example = {0xC4, 0x05, 0x01, 0x02, 0x03, 0xC1, 0x07};

} // namespace

TEST(PcxDecoder, RunsFillRowsContinuouslyAndStopAtTheLastPixel)
{
    struct Case {
        const char* name;
        int xmax, ymax;
        std::vector<int> data, indices;
    };
    const Case cases[] = {
        {"runs and singles", 3, 1, example, {5, 5, 5, 5, 1, 2, 3, 7}},
        {"row crossed", 4, 1, {0xC7, 0x0B, 0x0C, 0xC9, 0x0D}, repeat(7, 11, {12, 13, 13})},
        {"63 pixels", 7, 7, {0xFF, 0x0B, 0x0C}, repeat(63, 11, {12})},
        {"zero run", 1, 0, {0xC0, 0x09, 0x04, 0x06}, {4, 6}},
    };
    for (const Case& c : cases) {
        PcxImage img;
        img.decode(pcx(c.xmax, c.ymax, c.data), false, 4096);
        EXPECT_EQ(std::pair(img.width(), img.height()), std::pair(c.xmax + 1, c.ymax + 1))
            << c.name;
        EXPECT_EQ(channel(img, 0), c.indices) << c.name;
        EXPECT_EQ(channel(img, 3), repeat(int(c.indices.size()), 255)) << c.name;
    }
    PcxImage img;
    img.decode(pcx(3, 1, example), false, 4096);
    EXPECT_EQ(px(img, 3, 1), (std::array<int, 4>{7, 248, 7 ^ 0x5A, 255}));
}

QByteArray withHeader(QByteArray file, std::initializer_list<std::pair<int, int>> words)
{
    for (const auto& [at, value] : words) {
        file[at] = char(value & 0xFF);
        file[at + 1] = char(value >> 8);
    }
    return file;
}

TEST(PcxDecoder, PaddedRowsAndWindowsKeepTheirPixels)
{
    // A window from Xmin, Ymin.
    const QByteArray window = withHeader(pcx(4, 3, {0xC2, 6, 1, 2, 0xC4, 9}), {{4, 1}, {6, 2}});
    struct Case {
        int width, height;
        std::vector<int> indices;
        QByteArray file;
    };
    const Case cases[] = {
        // A run crosses the padding into the next row.
        {3, 2, repeat(4, 5, {7, 8}), withHeader(pcx(2, 1, {0xC5, 5, 7, 8, 9}), {{66, 4}})},
        // A line shorter than the width is ignored.
        {3, 1, {1, 2, 3}, withHeader(pcx(2, 0, {1, 2, 3}), {{66, 1}})},
        {4, 2, {6, 6, 1, 2, 9, 9, 9, 9}, window},
        // A minimum above its maximum counts from 0.
        {2, 1, {3, 4}, withHeader(pcx(1, 0, {3, 4}), {{4, 5}, {6, 9}})},
    };
    for (const Case& c : cases) {
        PcxImage img;
        img.decode(c.file, false, 4096);
        EXPECT_EQ(std::pair(img.width(), img.height()), std::pair(c.width, c.height));
        EXPECT_EQ(channel(img, 0), c.indices) << c.width;
    }
}

TEST(PcxDecoder, FirstPixelEntryBecomesTransparentOnlyWhenAsked)
{
    struct Case {
        std::vector<int> data;
        std::vector<int> alphas;
    };
    const Case cases[] = {
        {example, {0, 0, 0, 0, 255, 255, 255, 255}},
        // Entry 5 used again later is transparent there too; entry 9 is not.
        {{0x05, 0x09, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05}, {0, 255, 0, 255, 255, 255, 255, 0}},
        // A zero-length first run marks its index, and the next code's as well.
        {{0xC0, 0x02, 0xC2, 0x06, 0x02, 0x01, 0x02, 0x06, 0x03, 0x02},
         {0, 0, 0, 255, 0, 0, 255, 0}},
    };
    for (const Case& c : cases) {
        PcxImage opaque, clear;
        opaque.decode(pcx(3, 1, c.data), false, 4096);
        clear.decode(pcx(3, 1, c.data), true, 4096);
        EXPECT_EQ(channel(opaque, 3), repeat(8, 255));
        EXPECT_EQ(channel(clear, 3), c.alphas);
        EXPECT_EQ(channel(clear, 0), channel(opaque, 0));
    }
}

TEST(PcxDecoder, MissingBytesReadAsZero)
{
    // The file runs out long before 100 x 100 pixels: the rest is entry 0.
    PcxImage img;
    img.decode(pcx(99, 99, {0x07}), true, 4096);
    EXPECT_EQ(px(img, 0, 0), (std::array<int, 4>{7, 248, 7 ^ 0x5A, 0}));
    EXPECT_EQ(px(img, 99, 99), (std::array<int, 4>{0, 255, 0x5A, 255}));

    // 131 bytes: palette entry i starts at 3i - 637, so entry 213 is header
    // bytes 2..4 and lower entries are black; the last run's index is missing.
    PcxImage shortFile;
    shortFile.decode(pcx(1, 0, {0xC1, 213, 0xC1}, 0), false, 4096);
    EXPECT_EQ(px(shortFile, 0, 0), (std::array<int, 4>{1, 8, 0, 255}));
    EXPECT_EQ(px(shortFile, 1, 0), (std::array<int, 4>{0, 0, 0, 255}));

    // Every prefix of a file keeps the size its header still gives.
    const QByteArray file = pcx(5, 3, {0xC7, 0x10, 0x11, 0xFF, 0x12, 0x13});
    for (int size = 0; size <= file.size(); ++size) {
        PcxImage prefix;
        prefix.decode(file.left(size), size % 2 == 0, 4096);
        EXPECT_EQ(std::pair(prefix.width(), prefix.height()),
                  std::pair(size > 8 ? 6 : 1, size > 10 ? 4 : 1))
            << size;
    }
}

TEST(PcxDecoder, RefusesSizesThatCannotBecomeATexture)
{
    struct Case {
        int xmax, ymax;
        unsigned maxSide;
        bool accepted;
    };
    const Case cases[] = {
        {65535, 65535, 70000, false}, // 16 GiB claimed by a 900-byte file
        {16383, 4096, 70000, false},  // one row more than 64 megapixels
        {1023, 1023, 1024, true},
        {1024, 0, 1024, false},
        {0, 1024, 1024, false},
        {16383, 0, PcxImage::defaultMaxSide, true},
        {16384, 0, PcxImage::defaultMaxSide, false},
    };
    for (const Case& c : cases) {
        PcxImage img;
        img.decode(pcx(c.xmax, c.ymax, {}), false, c.maxSide);
        EXPECT_EQ(std::pair(img.width(), img.height()),
                  c.accepted ? std::pair(c.xmax + 1, c.ymax + 1) : std::pair(0, 0));
    }
    PcxImage missing;
    EXPECT_FALSE(missing.load(QStringLiteral("/nonexistent/walk.pcx"), false));
}
