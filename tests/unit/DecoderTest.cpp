// The new decoders against the graphics and audio libraries' own, which the
// program used before, and their limits.
#include "objects/ImageDecoder.h"
#include "DataFiles.h"
#include "core/AssetFile.h"
#include "objects/SoundDecoder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const ImageLimits roomy{4096, 1 << 20};

// `source` (17 x 11 RGBA) converted by ImageMagick with `args` into `out`
// (a file name, with an optional format prefix).
QByteArray convert(const QTemporaryDir& dir, const QByteArray& source, QStringList args,
                   const QString& out)
{
    writeDataFile(dir.path(), QStringLiteral("source.rgba"), source);
    const QString path = dir.filePath(out.section(':', -1));
    QProcess::execute(
        QStringLiteral("convert"),
        QStringList{"-size", "17x11", "-depth", "8", "rgba:" + dir.filePath("source.rgba")}
            << args << (out.contains(':') ? out.section(':', 0, 0) + ':' + path : path));
    return readFile(path);
}

// A fifth of a second of two tones, written by libsndfile in `format`.
QByteArray tones(const QString& path, int format, int channels, int rate)
{
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << path.toStdString();
    std::vector<double> frames;
    for (int i = 0; i < rate / 5; ++i)
        for (int c = 0; c < channels; ++c)
            frames.push_back(0.45 * std::sin(i * (0.05 + 0.03 * c)) + 0.5 * std::sin(i * 0.007));
    sf_writef_double(file, frames.data(), rate / 5);
    sf_close(file);
    return readFile(path);
}

} // namespace

TEST(ImageDecoder, ValidFilesGiveThePixelsTheyAlwaysGave)
{
    QByteArray source;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 17; ++x)
            for (const char c : {x * 15, y * 23, x * y * 7, 255 - x * 15})
                source.append(c);
    // JPEG is lossy; its decoders round differently by a step or two. Other
    // formats than these go through one fallback decoder: one row for it.
    const struct {
        QStringList args;
        const char* out;
        int tolerance;
    } cases[] = {
        {{}, "a.png", 0}, {{"-type", "Palette"}, "png8:b.png", 0},
        {{"-type", "GrayscaleAlpha"}, "d.png", 0}, {{"-depth", "16"}, "png64:f.png", 0},
        {{"-interlace", "PNG"}, "h.png", 0}, {{"-alpha", "off"}, "i.jpg", 2},
        {{"-alpha", "off", "-colorspace", "Gray"}, "l.jpg", 2},
        {{"-alpha", "off", "-colorspace", "CMYK"}, "m.jpg", 3}, {{}, "n.gif", 0},
        {{"-set", "page", "23x14+3+2", "-background", "orange"}, "o2.gif", 0}, {{}, "p.bmp", 0}};
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QByteArray file = convert(dir, source, c.args, QLatin1String(c.out));
        sf::Image reference;
        ASSERT_TRUE(reference.loadFromMemory(file.constData(), std::size_t(file.size()))) << c.out;
        DecodedImage decoded;
        EXPECT_EQ(image::decode(file, roomy, decoded), QString()) << c.out;
        ASSERT_EQ(sf::Vector2u(decoded.width, decoded.height), reference.getSize()) << c.out;
        int worst = 0;
        for (std::size_t i = 0; i < std::size_t(decoded.width) * decoded.height * 4; ++i)
            worst = std::max(worst, std::abs(decoded.pixels[i] - reference.getPixelsPtr()[i]));
        EXPECT_LE(worst, c.tolerance) << c.out;
    }
}

// Refused before decoding: a size past the limits, as the headers claim it
// (the program's own pixel limit among them), and 16-bit PNM samples. A
// progressive JPEG's work memory grows with its size, within what is let.
TEST(ImageDecoder, SizesPastTheLimitsAreRefusedBeforeDecoding)
{
    QTemporaryDir dir;
    const QByteArray png = convert(dir, QByteArray(17 * 11 * 4, '\x7f'), {}, "a.png");
    const QByteArray jpeg = convert(dir, QByteArray(17 * 11 * 4, '\x7f'),
                                    {"-resize", "200x200!", "-interlace", "JPEG"}, "p.jpg");
    // A PNG file claiming 9000 pixels square (a fuzz input's IHDR and its
    // checksum changed), with a few bytes of pixels.
    const QByteArray big =
        sourceFile(QStringLiteral("tests/fuzz/corpus/image/png-16000x16000"))
            .replace(16, 17, QByteArray::fromHex("000023280000232808060000006dd572ba"));
    const struct {
        QByteArray file;
        ImageLimits limits;
        QString reason; // empty: loads
    } cases[] = {
        {png, {17, 187}, QString()}, {jpeg, {200, 40000}, QString()},
        // A frame of no width draws nothing.
        {QByteArray::fromHex("47494638396102000200800000000000ffffff2c0000000000000100"
                             "0002024401003b"),
         roomy, QString()},
        {png, {16, 1000}, asset::tooLarge(17, 11)}, {png, {1000, 186}, asset::tooLarge(17, 11)},
        {big, {65535, asset::maxImagePixels}, asset::tooLarge(9000, 9000)},
        {QByteArray("P5\n2 1\n65535\n\1\2\3\4"), roomy, asset::unknownFormat()},
    };
    for (const auto& c : cases) {
        DecodedImage decoded;
        EXPECT_EQ(image::decode(c.file, c.limits, decoded), c.reason)
            << c.file.left(4).toHex().toStdString();
        EXPECT_EQ(decoded.pixels != nullptr, c.reason.isEmpty());
    }
}

TEST(SoundDecoder, ValidFilesGiveTheSamplesTheyAlwaysGave)
{
    const struct {
        const char* name;
        int format, channels, rate;
    } cases[] = {
        {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 22050},
        {"16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100},
        {"ex.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 4, 44100},
        {"16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100},
        {"2.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100},
        // Two whole blocks of the decoder's reads: the last read gives nothing.
        {"blocks.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 40960},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray file =
            tones(dir.filePath(QLatin1String(c.name)), c.format, c.channels, c.rate);
        sf::SoundBuffer reference;
        ASSERT_TRUE(reference.loadFromMemory(file.constData(), std::size_t(file.size())));
        const std::int16_t* const samples = reference.getSamples();
        DecodedSound decoded;
        EXPECT_EQ(sound::decode(file, sound::maxSamples, decoded), QString());
        EXPECT_EQ(decoded.channels, reference.getChannelCount());
        EXPECT_EQ(decoded.sampleRate, reference.getSampleRate());
        EXPECT_EQ(decoded.samples, std::vector(samples, samples + reference.getSampleCount()));
        // One frame fewer than the file holds is refused as too long.
        EXPECT_FALSE(sound::decode(file, decoded.samples.size() - c.channels, decoded).isEmpty());
        EXPECT_TRUE(decoded.samples.empty());
    }
    // Too short for the header of the container it starts like.
    DecodedSound none;
    EXPECT_EQ(sound::decode(QByteArray("OggS\0\0\0\0", 8), sound::maxSamples, none),
              asset::unknownFormat());
}
