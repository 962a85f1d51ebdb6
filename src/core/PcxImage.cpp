#include "core/PcxImage.h"

#include "core/RegularFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 dataStart = 128;
constexpr qint64 paletteSize = 768;

class Bytes {
public:
    explicit Bytes(const QByteArray& b)
        : data(reinterpret_cast<const std::uint8_t*>(b.constData())), size(b.size())
    {
    }
    std::uint8_t at(qint64 pos) const { return pos >= 0 && pos < size ? data[pos] : 0; }

    const std::uint8_t* data;
    qint64 size;
};

} // namespace

bool PcxImage::load(const QString& path, bool usetransp, unsigned maxSide)
{
    pixels_.reset();
    width_ = height_ = 0;
    const std::optional<QByteArray> bytes = readRegularFile(path, fileLimits::assetBytes);
    if (!bytes)
        return false;
    decode(*bytes, usetransp, maxSide);
    return true;
}

void PcxImage::decode(const QByteArray& bytes, bool usetransp, unsigned maxSide)
{
    pixels_.reset();
    width_ = height_ = 0;

    const Bytes in(bytes);
    const quint64 w = in.at(8) + in.at(9) * 256u + 1;
    const quint64 h = in.at(10) + in.at(11) * 256u + 1;
    const quint64 total = w * h * 4;
    if (total > 0xFFFFFFFFu || w > maxSide || h > maxSide)
        return;

    std::unique_ptr<std::uint8_t[]> out(new (std::nothrow) std::uint8_t[total]);
    if (!out)
        return;

    std::uint8_t palette[256][4];
    const qint64 paletteAt = in.size - paletteSize;
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c)
            palette[i][c] = in.at(paletteAt + 3 * i + c);
        palette[i][3] = 255;
    }

    quint64 pos = 0;
    qint64 src = dataStart;
    while (pos < total) {
        quint64 count;
        std::uint8_t index;
        if (src >= in.size) {
            // Past the end every code reads as a single pixel of entry 0.
            count = (total - pos) / 4;
            index = 0;
        } else {
            const std::uint8_t c = in.at(src);
            if (c >= 192) {
                count = c - 192u;
                index = in.at(src + 1);
                src += 2;
            } else {
                count = 1;
                index = c;
                src += 1;
            }
        }
        if (usetransp && pos == 0)
            palette[index][3] = 0;
        count = std::min(count, (total - pos) / 4);
        for (quint64 k = 0; k < count; ++k, pos += 4)
            std::memcpy(out.get() + pos, palette[index], 4);
    }

    pixels_ = std::move(out);
    width_ = int(w);
    height_ = int(h);
}
