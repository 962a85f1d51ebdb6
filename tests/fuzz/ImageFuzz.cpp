#include "FuzzTargets.h"
#include "objects/ImageDecoder.h"

int fuzz::imageDecoder(const std::uint8_t* data, std::size_t size)
{
    // Small limits keep every input fast; the limit checks are the same code.
    const ImageLimits limits{2048, 1 << 20};
    DecodedImage decoded;
    const bool ok = image::decode(bytes(data, size), limits, decoded).isEmpty();
    check(ok == (decoded.pixels != nullptr), "pixels exactly on success");
    if (!ok)
        return 0;
    check(decoded.width >= 1 && decoded.height >= 1 && decoded.width <= limits.maxSide &&
              decoded.height <= limits.maxSide &&
              quint64(decoded.width) * decoded.height <= limits.maxPixels,
          "size within the limits");
    // Every byte is read, so the sanitizer sees a buffer shorter than its size.
    unsigned sum = 0;
    for (std::size_t i = 0; i < std::size_t(decoded.width) * decoded.height * 4; ++i)
        sum += decoded.pixels[i];
    check(sum != 0xFFFFFFFFu || size == 0, "pixels readable");
    return 0;
}
