#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <unordered_set>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// Tells, before the graphics library renders a font's glyphs, whether it can
// do so safely. The library renders each glyph it needs with FreeType and
// trusts the result: it does not check that the glyph became a bitmap (a
// damaged outline leaves it reading an outline as one), and it copies bitmaps
// of any size, so a font whose metrics were damaged asks for gigabytes. The
// guard renders the same glyphs the same way on a face of its own and lets
// through only fonts whose glyphs come out as bitmaps of a sane size.
class GlyphGuard {
public:
    GlyphGuard() = default;
    ~GlyphGuard();
    GlyphGuard(const GlyphGuard&) = delete;
    GlyphGuard& operator=(const GlyphGuard&) = delete;

    // False when FreeType cannot open the font or it has no Unicode map; the
    // graphics library refuses such fonts too. The bytes stay shared here.
    bool open(const QByteArray& font);
    const QByteArray& bytes() const { return font; }

    // Whether drawing the text at `size` pixels loads only safe glyphs.
    bool canDraw(const std::uint32_t* text, std::size_t length, unsigned size);

    // A glyph may reach this many character sizes, plus a margin, each way.
    static constexpr unsigned maxEms = 4;
    static constexpr unsigned marginPixels = 64;

private:
    bool safe(std::uint32_t c, unsigned size);

    QByteArray font;
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
    std::unordered_set<quint64> checked;
};
