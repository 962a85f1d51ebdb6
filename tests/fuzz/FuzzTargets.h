#pragma once

#include <cstddef>
#include <cstdint>

// Entry functions shared by the libFuzzer binaries and the corpus replay
// test. Each returns 0; a broken invariant aborts through fuzzCheck.
namespace fuzz {

int pcxDecoder(const std::uint8_t* data, std::size_t size);
int mapReader(const std::uint8_t* data, std::size_t size);
int includeExpansion(const std::uint8_t* data, std::size_t size);
int scriptJson(const std::uint8_t* data, std::size_t size);
int imageDecoder(const std::uint8_t* data, std::size_t size);
int soundDecoder(const std::uint8_t* data, std::size_t size);
int fontGlyphs(const std::uint8_t* data, std::size_t size);
int jsonReader(const std::uint8_t* data, std::size_t size);

// Reports a broken invariant and aborts, so both the fuzzer and a replay
// under the test runner see the input fail.
void check(bool ok, const char* what);

} // namespace fuzz
