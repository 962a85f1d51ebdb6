#include "FuzzTargets.h"
#include "objects/GlyphGuard.h"

#include <iterator>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

// Glyphs the guard lets through are rendered as the graphics library does,
// reading every byte it would read, so a guard that passes a bad bitmap fails.
int fuzz::fontGlyphs(const std::uint8_t* data, std::size_t size)
{
    GlyphGuard guard;
    if (!guard.open(QByteArray(reinterpret_cast<const char*>(data), int(size))))
        return 0;
    static const std::uint32_t text[] = {'e', 'x', ' ', 0x416, '!'};
    FT_Library library;
    FT_Face face;
    FT_Init_FreeType(&library);
    const bool opened = FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(data),
                                           FT_Long(size), 0, &face) == 0 &&
                        FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
    for (unsigned s : {1u, 9u, 40u, 250u}) {
        if (!guard.canDraw(text, std::size(text), s))
            break;
        for (std::uint32_t c : text) {
            FT_Glyph glyph;
            if (!opened || FT_Set_Pixel_Sizes(face, 0, s) != 0 ||
                FT_Load_Char(face, c, FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT) != 0 ||
                FT_Get_Glyph(face->glyph, &glyph) != 0)
                continue;
            check(FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0,
                  "a glyph the guard passed becomes a bitmap");
            const FT_Bitmap& bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap;
            const unsigned most = GlyphGuard::maxEms * s + GlyphGuard::marginPixels;
            check(bitmap.width <= most && bitmap.rows <= most, "a bitmap of a sane size");
            unsigned sum = 0;
            const unsigned char* row = bitmap.buffer;
            for (unsigned y = 0; y < bitmap.rows && bitmap.width > 0; ++y, row += bitmap.pitch)
                for (unsigned x = 0; x < bitmap.width; ++x)
                    sum += bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? row[x / 8] : row[x];
            check(sum != 0xFFFFFFFFu, "bitmap readable");
            FT_Done_Glyph(glyph);
        }
    }
    if (opened)
        FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
