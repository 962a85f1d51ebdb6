#include "PcxImage.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A PCX file: 128-byte header with Xmax/Ymax, the given data, then a palette
// where entry i is (i, 255 - i, i ^ 0x5A) unless the palette is cut short.
QByteArray pcx(int xmax, int ymax, const std::vector<int>& data, int paletteBytes = 768)
{
    QByteArray b(128, '\0');
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = char(xmax & 0xFF);
    b[9] = char(xmax >> 8);
    b[10] = char(ymax & 0xFF);
    b[11] = char(ymax >> 8);
    for (int d : data)
        b.append(char(d));
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette.append(char(i)).append(char(255 - i)).append(char(i ^ 0x5A));
    b.append(palette.right(paletteBytes));
    return b;
}

std::array<int, 4> entry(int i, int a = 255)
{
    return {i, 255 - i, i ^ 0x5A, a};
}

std::array<int, 4> px(const PcxImage& img, int x, int y)
{
    const std::uint8_t* p = img.pixels() + (y * img.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Palette index of every pixel, read back through the test palette's red.
std::vector<int> indices(const PcxImage& img)
{
    std::vector<int> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out.push_back(px(img, x, y)[0]);
    return out;
}

const std::vector<int> example = {0xC4, 0x05, 0x01, 0x02, 0x03, 0xC1, 0x07};

} // namespace

TEST(PcxDecoder, RunsAndSinglesFillRowsContinuously)
{
    PcxImage img;
    ASSERT_TRUE(img.decode(pcx(3, 1, example), false, 4096));
    ASSERT_EQ(img.width(), 4);
    ASSERT_EQ(img.height(), 2);
    EXPECT_EQ(indices(img), (std::vector<int>{5, 5, 5, 5, 1, 2, 3, 7}));
    EXPECT_EQ(px(img, 0, 0), entry(5));
    EXPECT_EQ(px(img, 3, 1), entry(7));
}

TEST(PcxDecoder, FirstPixelEntryBecomesTransparentOnlyWhenAsked)
{
    struct Case {
        bool usetransp;
        std::vector<int> data;
        std::vector<int> transparentIndices;
    };
    const Case cases[] = {
        {false, example, {}},
        {true, example, {5}},
        // Entry 9 shares nothing with 5 but entry 5 appears later: still transparent.
        {true, {0x05, 0x09, 0x05, 0x01, 0x02, 0x03, 0x04, 0x05}, {5}},
        // A zero-length run first marks its index, then the next code's index.
        {true, {0xC0, 0x02, 0xC8, 0x06}, {2, 6}},
    };
    for (const Case& c : cases) {
        PcxImage img;
        ASSERT_TRUE(img.decode(pcx(3, 1, c.data), c.usetransp, 4096));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const auto p = px(img, x, y);
                const bool transparent =
                    std::find(c.transparentIndices.begin(), c.transparentIndices.end(), p[0]) !=
                    c.transparentIndices.end();
                EXPECT_EQ(p[3], transparent ? 0 : 255)
                    << "usetransp " << c.usetransp << " pixel " << x << "," << y;
            }
    }
}

TEST(PcxDecoder, SameColourUnderAnotherEntryStaysOpaque)
{
    QByteArray file = pcx(1, 0, {0x03, 0x04});
    // Make entry 4 the same colour as entry 3.
    const int pal = file.size() - 768;
    file[pal + 12] = file[pal + 9];
    file[pal + 13] = file[pal + 10];
    file[pal + 14] = file[pal + 11];
    PcxImage img;
    img.decode(file, true, 4096);
    EXPECT_EQ(px(img, 0, 0)[3], 0);
    EXPECT_EQ(px(img, 1, 0)[3], 255);
    EXPECT_EQ(px(img, 1, 0)[0], 3);
}

TEST(PcxDecoder, RunsCrossRowsAndStopAtTheLastPixel)
{
    PcxImage img;
    // 0xFF is a run of 63: 10-pixel rows, so it fills six rows and three pixels.
    img.decode(pcx(9, 9, {0xFF, 0x0B, 0xFF, 0x0C}), false, 4096);
    const auto idx = indices(img);
    ASSERT_EQ(idx.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(idx[i], i < 63 ? 11 : 12) << i;

    PcxImage small;
    small.decode(pcx(1, 1, {0xFF, 0x21, 0x07}), false, 4096);
    EXPECT_EQ(indices(small), (std::vector<int>{0x21, 0x21, 0x21, 0x21}));
}

TEST(PcxDecoder, PixelsPastTheEndOfTheFileTakeEntryZero)
{
    // 100 x 100 pixels from one code plus the palette bytes read as codes:
    // the file runs out long before the image is full.
    for (bool usetransp : {false, true}) {
        PcxImage img;
        img.decode(pcx(99, 99, {0x07}), usetransp, 4096);
        ASSERT_EQ(img.width(), 100);
        EXPECT_EQ(px(img, 0, 0), entry(7, usetransp ? 0 : 255));
        EXPECT_EQ(px(img, 99, 99), entry(0));
        EXPECT_EQ(px(img, 0, 99), entry(0));
    }
}

TEST(PcxDecoder, TruncatedFilesKeepTheirSizeAndStayInsideTheBuffer)
{
    // Every prefix of a valid file decodes to the size its header still gives
    // (run under the sanitizer build, this also proves no read leaves the buffer).
    const QByteArray file = pcx(5, 3, {0xC7, 0x10, 0x11, 0xFF, 0x12, 0x13});
    for (int size = 0; size <= file.size(); ++size) {
        PcxImage img;
        ASSERT_TRUE(img.decode(file.left(size), size % 2 == 0, 4096)) << size;
        EXPECT_EQ(img.width(), size > 8 ? 6 : 1) << size;
        EXPECT_EQ(img.height(), size > 10 ? 4 : 1) << size;
    }
}

TEST(PcxDecoder, ShortPaletteReadsZeroBeforeTheFileStart)
{
    // 130 bytes: entry i starts at 3i - 638, so entries up to 212 are black,
    // entry 213 is bytes 1..3 of the header (5, 1, 8).
    PcxImage img;
    QByteArray file = pcx(3, 0, {}, 0);
    file.append(char(0x04)).append(char(0xC3));
    ASSERT_TRUE(img.decode(file, false, 4096));
    EXPECT_EQ(px(img, 0, 0), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(px(img, 3, 0), (std::array<int, 4>{0, 0, 0, 255}));

    PcxImage img2;
    img2.decode(pcx(0, 0, {0xC1, 213}, 0), false, 4096);
    EXPECT_EQ(px(img2, 0, 0), (std::array<int, 4>{5, 1, 8, 255}));
}

TEST(PcxDecoder, PaletteIsTheLastBytesWhateverTheMarker)
{
    QByteArray file = pcx(0, 0, {0x01, 12, 99, 99});
    PcxImage img;
    img.decode(file, false, 4096);
    EXPECT_EQ(px(img, 0, 0), entry(1));
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
        {32767, 32767, 70000, false}, // 2^32 bytes: one more than 32 bits hold
        {1023, 1023, 1024, true},     {1024, 0, 1024, false}, {0, 1024, 1024, false},
    };
    for (const Case& c : cases) {
        PcxImage img;
        EXPECT_TRUE(img.decode(pcx(c.xmax, c.ymax, {}), false, c.maxSide));
        EXPECT_EQ(img.width(), c.accepted ? c.xmax + 1 : 0) << c.xmax << "x" << c.ymax;
        EXPECT_EQ(img.height(), c.accepted ? c.ymax + 1 : 0) << c.xmax << "x" << c.ymax;
        EXPECT_EQ(img.pixels() != nullptr, c.accepted);
    }
}

TEST(PcxDecoder, DefaultLimitNeedsNoGraphicsContext)
{
    PcxImage wide;
    wide.decode(pcx(16383, 0, {}), false);
    EXPECT_EQ(wide.width(), 16384);
    PcxImage wider;
    wider.decode(pcx(16384, 0, {}), false);
    EXPECT_EQ(wider.width(), 0);
}

TEST(PcxDecoder, ArbitraryBytesStayInsideTheBuffer)
{
    // Small headers so each image stays small; the sanitizer build checks the reads.
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    for (int round = 0; round < 3000; ++round) {
        QByteArray file(int(next() * 5 + next() % 7), '\0');
        for (char& c : file)
            c = char(next());
        for (int highByte : {9, 11})
            if (file.size() > highByte)
                file[highByte] = 0;
        PcxImage img;
        ASSERT_TRUE(img.decode(file, round % 2 == 0, 4096));
        ASSERT_GT(img.width(), 0);
        ASSERT_LE(img.width(), 256);
        ASSERT_LE(img.height(), 256);
    }
}

TEST(PcxDecoder, LoadReportsOnlyMissingFiles)
{
    PcxImage img;
    EXPECT_FALSE(img.load(QStringLiteral("/nonexistent/dir/walk.pcx"), false));
    EXPECT_EQ(img.width(), 0);
}
