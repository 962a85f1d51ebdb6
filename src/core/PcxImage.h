#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

// One decoded 8-bit palette PCX image as RGBA bytes, rows top to bottom.
//
// Only the window (Xmin..Xmax, Ymin..Ymax; a minimum above its maximum counts
// as 0), the bytes per line, the run-length data from offset 128 and the last
// 768 bytes (the palette) are read; bytes outside the file read as 0, so
// truncated or malformed files still decode. Images above the pixel limit of
// AssetFile.h, or whose sides exceed what a texture can hold, are refused and
// leave the object empty. load() reads only regular files up to the image
// file limit.
class PcxImage {
public:
    // The side limit when the caller gives none: every driver we run on takes
    // textures this large, and asking the driver for its own needs a GL context.
    static constexpr unsigned defaultMaxSide = 16384;

    // False (and empty) when the file does not exist or cannot be read; a
    // refused size leaves it empty with one debug line.
    bool load(const QString& path, bool usetransp, unsigned maxSide = defaultMaxSide);
    // Decodes file bytes, whatever they hold (a refused size leaves it empty).
    void decode(const QByteArray& bytes, bool usetransp, unsigned maxSide = defaultMaxSide);

    const std::uint8_t* pixels() const { return pixels_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    static QSize declaredSize(const QByteArray& bytes);

    std::unique_ptr<std::uint8_t[]> pixels_;
    int width_ = 0;
    int height_ = 0;
};
