#include "objects/GlyphGuard.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

GlyphGuard::~GlyphGuard()
{
    if (face)
        FT_Done_Face(face);
    if (library)
        FT_Done_FreeType(library);
}

bool GlyphGuard::open(const QByteArray& bytes)
{
    font = bytes;
    return FT_Init_FreeType(&library) == 0 &&
           FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(font.constData()),
                              FT_Long(font.size()), 0, &face) == 0 &&
           FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
}

bool GlyphGuard::canDraw(const std::uint32_t* text, std::size_t length, unsigned size)
{
    if (!face)
        return false;
    if (length == 0)
        return true;
    // Laying out any text loads the space and the x (for the strike-through
    // line); line breaks and tabs are never rendered.
    if (!safe('x', size) || !safe(' ', size))
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] != '\n' && text[i] != '\r' && text[i] != '\t' && !safe(text[i], size))
            return false;
    return true;
}

bool GlyphGuard::safe(std::uint32_t c, unsigned size)
{
    const quint64 key = (quint64(size) << 32) | c;
    if (checked.count(key))
        return true;
    // Where the library gets no glyph it draws none: that is safe.
    FT_Glyph glyph = nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, size) != 0 ||
        FT_Load_Char(face, c, FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT) != 0 ||
        FT_Get_Glyph(face->glyph, &glyph) != 0) {
        checked.insert(key);
        return true;
    }
    const FT_Pos most = FT_Pos(maxEms) * size + marginPixels;
    FT_BBox box;
    FT_Glyph_Get_CBox(glyph, FT_GLYPH_BBOX_PIXELS, &box);
    bool ok = box.xMax - box.xMin <= most && box.yMax - box.yMin <= most &&
              FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0 &&
              glyph->format == FT_GLYPH_FORMAT_BITMAP;
    if (ok) {
        // The library reads `width` bytes (mono: bits) of each row, `pitch` apart.
        const FT_Bitmap& bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap;
        const unsigned rowBytes =
            bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (bitmap.width + 7) / 8 : bitmap.width;
        ok = bitmap.width <= unsigned(most) && bitmap.rows <= unsigned(most) &&
             (bitmap.width == 0 || bitmap.rows == 0 ||
              (bitmap.buffer && bitmap.pitch > 0 && unsigned(bitmap.pitch) >= rowBytes));
    }
    FT_Done_Glyph(glyph);
    if (ok)
        checked.insert(key);
    return ok;
}
