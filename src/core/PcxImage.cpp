#include "core/PcxImage.h"

#include "core/AssetFile.h"

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
    // Missing files were never reported: every game without a map lacks the tiles.
    QByteArray bytes;
    if (!asset::readOrReport(path, bytes, false))
        return false;
    decode(bytes, usetransp, maxSide);
    if (!pixels_) {
        const QSize size = declaredSize(bytes);
        asset::reportFailure(path, asset::tooLarge(quint64(size.width()), quint64(size.height())));
    }
    return true;
}

// The image window; a minimum above its maximum counts as 0.
QSize PcxImage::declaredSize(const QByteArray& bytes)
{
    const Bytes in(bytes);
    const auto word = [&in](qint64 at) { return in.at(at) + in.at(at + 1) * 256; };
    const auto side = [&word](qint64 min, qint64 max) {
        return (word(min) <= word(max) ? word(max) - word(min) : word(max)) + 1;
    };
    return QSize(side(4, 8), side(6, 10));
}

void PcxImage::decode(const QByteArray& bytes, bool usetransp, unsigned maxSide)
{
    pixels_.reset();
    width_ = height_ = 0;

    const Bytes in(bytes);
    const QSize size = declaredSize(bytes);
    const quint64 w = quint64(size.width()), h = quint64(size.height());
    if (w > maxSide || h > maxSide || w * h > asset::maxImagePixels)
        return;
    // Rows padded to an even length (as GIMP writes them) hold more indices
    // than pixels; the extra ones are decoded and dropped.
    const quint64 pitch = std::max<quint64>(w, in.at(66) + in.at(67) * 256u);

    std::unique_ptr<std::uint8_t[]> out(new (std::nothrow) std::uint8_t[w * h * 4]);
    if (!out)
        return;

    std::uint8_t palette[256][4];
    const qint64 paletteAt = in.size - paletteSize;
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c)
            palette[i][c] = in.at(paletteAt + 3 * i + c);
        palette[i][3] = 255;
    }

    // `pos` counts indices of the padded rows, `written` the pixels kept.
    const quint64 total = pitch * h;
    quint64 pos = 0, written = 0;
    qint64 src = dataStart;
    while (pos < total) {
        quint64 count;
        std::uint8_t index;
        if (src >= in.size) {
            // Past the end every code reads as a single pixel of entry 0.
            count = total - pos;
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
        count = std::min(count, total - pos);
        while (count > 0) {
            const quint64 column = pos % pitch;
            const quint64 span = std::min(count, pitch - column);
            for (quint64 k = column; k < std::min(column + span, w); ++k, ++written)
                std::memcpy(out.get() + written * 4, palette[index], 4);
            pos += span;
            count -= span;
        }
    }

    pixels_ = std::move(out);
    width_ = int(w);
    height_ = int(h);
}
