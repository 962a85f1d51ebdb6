#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

// Takes fixed-size values off the front of a fuzz input; past the end it
// gives zeros, so every input has a meaning.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    template <typename T> T take()
    {
        T value{};
        unsigned char raw[sizeof(T)] = {};
        for (std::size_t i = 0; i < sizeof(T) && pos < size; ++i, ++pos)
            raw[i] = data[pos];
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }

    const std::uint8_t* rest() const { return data + (pos < size ? pos : size); }
    std::size_t restSize() const { return pos < size ? size - pos : 0; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

} // namespace fuzz
