#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>

// Decodes the image formats sprites are read in into RGBA bytes: PNG (libpng),
// JPEG (libjpeg-turbo), GIF (giflib, its first picture), and BMP, TGA, PSD,
// HDR, PIC and 8-bit PNM (stb_image). The format is told by the content, not
// the name. An image whose declared size is past the limits is refused before
// any pixel memory is taken, and no decoder may take more working memory
// than workBytesPerPixel times the pixel limit.
struct ImageLimits {
    unsigned maxSide;
    quint64 maxPixels;
};

struct DecodedImage {
    unsigned width = 0;
    unsigned height = 0;
    // width * height pixels of R, G, B, A; rows from the top, no padding.
    std::unique_ptr<std::uint8_t[]> pixels;
};

namespace image {

// No format stores a longer side.
constexpr unsigned maxSide = 65535;
constexpr quint64 workBytesPerPixel = 8;

// Empty on success; otherwise why the bytes give no image, in the words of
// the debug line, and `out` is empty.
QString decode(const QByteArray& bytes, const ImageLimits& limits, DecodedImage& out);

} // namespace image
