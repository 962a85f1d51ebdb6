#pragma once

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Entry functions shared by the libFuzzer binaries and the corpus replay
// test. Each returns 0; a broken invariant aborts through check.
namespace fuzz {

int pcxDecoder(const std::uint8_t* data, std::size_t size);
int mapReader(const std::uint8_t* data, std::size_t size);
int includeExpansion(const std::uint8_t* data, std::size_t size);
int scriptJson(const std::uint8_t* data, std::size_t size);
int imageDecoder(const std::uint8_t* data, std::size_t size);
int soundDecoder(const std::uint8_t* data, std::size_t size);
int fontGlyphs(const std::uint8_t* data, std::size_t size);
int jsonReader(const std::uint8_t* data, std::size_t size);

// Aborts, so both the fuzzer and a replay under the test runner see the input fail.
inline void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
        std::abort();
    }
}

// The input without a copy.
inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
}

// Takes a value off the front of the input; past its end, zeros.
template <typename T> T take(const std::uint8_t*& data, std::size_t& size)
{
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    if (n)
        std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace fuzz
