#include "FuzzTargets.h"
#include "core/PcxImage.h"

int fuzz::pcxDecoder(const std::uint8_t* data, std::size_t size)
{
    // Large enough for every size path of the decoder, small enough that one
    // input decodes in milliseconds.
    constexpr unsigned maxSide = 1024;
    PcxImage opaque, keyed;
    opaque.decode(bytes(data, size), false, maxSide);
    keyed.decode(bytes(data, size), true, maxSide);

    const auto word = [&](std::size_t at) {
        return (size > at ? data[at] : 0) + (size > at + 1 ? data[at + 1] : 0) * 256u;
    };
    // A window whose minimum lies above its maximum counts from 0.
    const auto side = [&](std::size_t min, std::size_t max) {
        return (word(min) <= word(max) ? word(max) - word(min) : word(max)) + 1;
    };
    const unsigned w = side(4, 8), h = side(6, 10);
    const bool fits = w <= maxSide && h <= maxSide;
    check((opaque.pixels() != nullptr) == fits, "an image is decoded exactly when it fits");
    if (!fits) {
        check(opaque.width() == 0 && opaque.height() == 0, "a refused image is empty");
        return 0;
    }
    check(unsigned(opaque.width()) == w && unsigned(opaque.height()) == h, "header size");
    check(keyed.width() == opaque.width() && keyed.height() == opaque.height(), "same size");
    const std::uint8_t* a = opaque.pixels();
    const std::uint8_t* b = keyed.pixels();
    for (std::size_t i = 0; i < std::size_t(w) * h * 4; i += 4) {
        check(a[i + 3] == 255, "without transparency every pixel is opaque");
        check(b[i + 3] == 0 || b[i + 3] == 255, "alpha is all or nothing");
        check(std::memcmp(a + i, b + i, 3) == 0, "transparency changes only alpha");
    }
    check(b[3] == 0, "the first pixel's colour is the transparent one");
    return 0;
}
