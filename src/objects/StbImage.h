#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

// stb_image for the formats the dedicated libraries do not cover: BMP, TGA,
// PSD, HDR, PIC and 8-bit PNM. Kept in a file of its own because it is built
// with wrapping signed arithmetic: its header parsers compute sizes in int
// and range-check the results afterwards.
namespace stb {

enum class Header { Ok, Unknown, Damaged };

// The size the file declares. Damaged where stb_image would read it in a way
// that never ends or reaches past its buffer.
Header info(const std::uint8_t* data, std::size_t size, int& width, int& height);

// Decodes into `rgba` (width * height * 4 bytes, the size info() gave),
// taking at most `budget` bytes of working memory.
bool load(const std::uint8_t* data, std::size_t size, quint64 budget, unsigned width,
          unsigned height, std::uint8_t* rgba);

} // namespace stb
