#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

// One decoded 8-bit palette PCX image as RGBA bytes, rows top to bottom.
class PcxImage {
public:
    // False (and empty) when the file does not exist or cannot be opened.
    bool load(const QString& path, bool usetransp);
    // Decodes file bytes; true for any content (a refused size leaves it empty).
    bool decode(const QByteArray& bytes, bool usetransp);

    const std::uint8_t* pixels() const { return pixels_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::unique_ptr<std::uint8_t[]> pixels_;
    int width_ = 0;
    int height_ = 0;
};
