#include "objects/StbImage.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// A budget on every allocation keeps a lying header from taking more memory
// than allowed; stb_image offers no context to carry it.
namespace {
thread_local quint64 stbBudget = 0;
void* stbMalloc(std::size_t size);
void stbFree(void* block);
} // namespace

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_NO_PNG
#define STBI_NO_JPEG
#define STBI_NO_GIF
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 65535
#define STBI_MALLOC(size) stbMalloc(size)
#define STBI_FREE(block) stbFree(block)
// Only the zlib reader of PNG, which is not compiled in, grows a block.
#define STBI_REALLOC(block, size) ((void)(block), (void)(size), nullptr)
#include <stb/stb_image.h>

namespace {

constexpr std::size_t stbHeader = 16;

void* stbMalloc(std::size_t size)
{
    if (size > stbBudget)
        return nullptr;
    auto* block = static_cast<std::uint8_t*>(std::malloc(size + stbHeader));
    if (!block)
        return nullptr;
    stbBudget -= size;
    std::memcpy(block, &size, sizeof size);
    return block + stbHeader;
}

void stbFree(void* block)
{
    if (!block)
        return;
    auto* start = static_cast<std::uint8_t*>(block) - stbHeader;
    std::size_t size;
    std::memcpy(&size, start, sizeof size);
    stbBudget += size;
    std::free(start);
}

// stb_image reads the run-length data of a Radiance file with no end check:
// at the end of the data a zero count reads as "copy nothing" for ever. The
// data is walked first, the way stb_image will read it, and a file whose
// runs do not fit in it is refused.
class HdrWalk {
public:
    HdrWalk(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool complete(int width, int height)
    {
        if (!skipHeader())
            return false;
        if (width < 8 || width >= 32768)
            return true;
        for (int y = 0; y < height; ++y) {
            if (remaining() < 4)
                return false;
            const int c1 = next(), c2 = next(), high = next();
            if (c1 != 2 || c2 != 2 || (high & 0x80))
                return true; // flat pixels from here on: a fixed count of reads
            if (((high << 8) | next()) != width)
                return true; // refused by the reader itself
            for (int channel = 0; channel < 4; ++channel)
                for (int x = 0; x < width;) {
                    if (remaining() == 0)
                        return false;
                    int count = next();
                    const bool run = count > 128;
                    if (run)
                        count -= 128;
                    if (count > width - x)
                        return true; // refused by the reader itself
                    const std::size_t bytes = run ? 1 : std::size_t(count);
                    if (remaining() < bytes)
                        return false;
                    pos += bytes;
                    x += count;
                }
        }
        return true;
    }

private:
    std::size_t remaining() const { return size - pos; }
    int next() { return pos < size ? data[pos++] : 0; }

    // The magic line, lines up to an empty one, then the size line; a line
    // that starts with a zero byte counts as empty, as in the reader.
    bool skipHeader()
    {
        bool sizeLine = false;
        for (int line = 0;; ++line) {
            const bool empty = remaining() == 0 || data[pos] == '\n' || data[pos] == 0;
            while (remaining() > 0 && data[pos++] != '\n') {
            }
            if (sizeLine)
                return true;
            if (line > 0 && empty)
                sizeLine = true;
            if (remaining() == 0)
                return false;
        }
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

} // namespace

stb::Header stb::info(const std::uint8_t* data, std::size_t size, int& width, int& height)
{
    int channels = 0;
    if (size > std::size_t(INT_MAX) ||
        !stbi_info_from_memory(data, int(size), &width, &height, &channels))
        return Header::Unknown;
    if (stbi_is_hdr_from_memory(data, int(size)) && !HdrWalk(data, size).complete(width, height))
        return Header::Damaged;
    // 16-bit PNM samples are converted as if they were bytes, reading past
    // the buffer; such files never loaded before either.
    if (data[0] == 'P' && stbi_is_16_bit_from_memory(data, int(size)))
        return Header::Unknown;
    return Header::Ok;
}

bool stb::load(const std::uint8_t* data, std::size_t size, quint64 budget, unsigned width,
               unsigned height, std::uint8_t* rgba)
{
    int w = 0, h = 0, channels = 0;
    stbBudget = budget;
    stbi_uc* pixels = stbi_load_from_memory(data, int(size), &w, &h, &channels, 4);
    stbBudget = 0;
    const bool ok = pixels && unsigned(w) == width && unsigned(h) == height;
    if (ok)
        std::memcpy(rgba, pixels, std::size_t(width) * height * 4);
    stbi_image_free(pixels);
    return ok;
}
