#pragma once

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Entry functions shared by the libFuzzer binaries and the corpus replay
// test. A broken invariant aborts through check.
namespace fuzz {

void pcxDecoder(const QByteArray& input);
void mapReader(const QByteArray& input);
void includeExpansion(const QByteArray& input);
void scriptJson(const QByteArray& input);
void imageDecoder(const QByteArray& input);
void soundDecoder(const QByteArray& input);
void fontGlyphs(const QByteArray& input);
void jsonReader(const QByteArray& input);

// Aborts, so both the fuzzer and a replay under the test runner see the input fail.
inline void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
