#include "PcxBytes.h"
#include "core/PcxImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A PCX file: header with Xmax/Ymax and other 16-bit words at their offsets, the
// data, then the last paletteBytes of a palette where entry i is (i, 255 - i, i ^ 0x5A).
QByteArray pcx(int xmax, int ymax, const std::vector<int>& data,
               std::initializer_list<std::pair<int, int>> words = {}, int paletteBytes = 768)
{
    QByteArray palette;
    for (int i = 0; i < 256; ++i)
        palette.append(char(i)).append(char(255 - i)).append(char(i ^ 0x5A));
    QByteArray file = pcxBytes(xmax, ymax, data, palette.right(paletteBytes));
    for (const auto& [at, value] : words) {
        file[at] = char(value & 0xFF);
        file[at + 1] = char(value >> 8);
    }
    return file;
}

// Row by row, each pixel's red (the test palette's index), "t" when it is
// transparent and "xN" for N equal pixels side by side; every row ends in '|'.
std::string describe(const PcxImage& img)
{
    std::string out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0, n = 1; x < img.width(); x += n, n = 1) {
            const std::uint8_t* p = img.pixels() + (y * img.width() + x) * 4;
            while (x + n < img.width() && std::memcmp(p, p + 4 * n, 4) == 0)
                ++n;
            out += std::to_string(p[0]) + (p[3] ? "" : "t") +
                   (n > 1 ? "x" + std::to_string(n) : "") + (x + n < img.width() ? " " : "|");
        }
    }
    return out;
}

const std::vector<int> example = {0xC4, 0x05, 0x01, 0x02, 0x03, 0xC1, 0x07};

} // namespace

// Runs fill rows continuously and stop at the last pixel; padded rows and
// windows keep their pixels; with transparency asked for, every pixel of the
// first code's entry is transparent; missing bytes read as zero. Sizes of
// truncated headers are checked on every fuzz corpus file.
TEST(PcxDecoder, DecodesRunsRowsWindowsAndTheTransparentEntry)
{
    const std::tuple<QByteArray, bool, const char*> cases[] = {
        // clang-format off
        {pcx(3, 1, example), false, "5x4|1 2 3 7|"},
        {pcx(4, 1, {0xC7, 11, 12, 0xC9, 13}), false, "11x5|11x2 12 13x2|"}, // across a row
        {pcx(62, 0, {0xFF, 11, 12}), false, "11x63|"},
        {pcx(2, 1, {0xC5, 5, 7, 8, 9}, {{66, 4}}), false, "5x3|5 7 8|"}, // padded
        {pcx(2, 0, {1, 2, 3}, {{66, 1}}), false, "1 2 3|"}, // short line ignored
        {pcx(4, 3, {0xC2, 6, 1, 2, 0xC4, 9}, {{4, 1}, {6, 2}}), false, "6x2 1 2|9x4|"},
        {pcx(1, 0, {3, 4}, {{4, 5}, {6, 9}}), false, "3 4|"}, // minimum above maximum
        {pcx(3, 1, {5, 9, 5, 1, 2, 3, 4, 5}), true, "5t 9 5t 1|2 3 4 5t|"},
        // A zero-length first run marks its entry, and the next code's as well.
        {pcx(3, 1, {0xC0, 2, 0xC2, 6, 2, 1, 2, 6, 3, 2}), true, "6tx2 2t 1|2t 6t 3 2t|"},
        {pcx(3, 1, {7}, {}, 0), true, "0t 0x3|0x4|"}, // no palette: every entry black
        // 131 bytes: palette entry i starts at 3i - 637, so entry 213 is header
        // bytes 2..4 and lower entries are black; the last run's index is missing.
        {pcx(1, 0, {0xC1, 213, 0xC1}, {}, 0), false, "1 0|"},
        // clang-format on
    };
    for (const auto& [file, keyed, pixels] : cases) {
        PcxImage img;
        img.decode(file, keyed, 4096);
        EXPECT_EQ(describe(img), pixels);
    }
    PcxImage img;
    img.decode(pcx(3, 1, example), false, 4096);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(img.pixels()) + 28, 4),
              QByteArray("\x07\xF8\x5D\xFF", 4));
}

TEST(PcxDecoder, RefusesSizesThatCannotBecomeATexture)
{
    const std::tuple<int, int, unsigned, bool> cases[] = {
        {65535, 65535, 70000, false}, // 16 GiB claimed by a 900-byte file
        {16383, 4096, 70000, false},  // one row more than 64 megapixels
        {1023, 1023, 1024, true},     // each side on its own: the fuzz corpus replay
        {16383, 0, PcxImage::defaultMaxSide, true},
        {16384, 0, PcxImage::defaultMaxSide, false},
    };
    for (const auto& [xmax, ymax, maxSide, accepted] : cases) {
        PcxImage img;
        img.decode(pcx(xmax, ymax, {}), false, maxSide);
        EXPECT_EQ(std::pair(img.width(), img.height()),
                  accepted ? std::pair(xmax + 1, ymax + 1) : std::pair(0, 0));
    }
}
