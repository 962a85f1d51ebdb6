#include "FuzzTargets.h"
#include "core/IncludeExpander.h"
#include "core/JsonTextReader.h"
#include "core/MapFile.h"
#include "core/PcxImage.h"
#include "core/PlatformMap.h"
#include "core/TextBytes.h"
#include "objects/GlyphGuard.h"
#include "objects/ImageDecoder.h"
#include "objects/SoundDecoder.h"
#include "runtime/ScriptJson.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScriptEngine>
#include <algorithm>
#include <iterator>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

void fuzz::pcxDecoder(const QByteArray& input)
{
    // Large enough for every size path of the decoder, small enough that one
    // input decodes in milliseconds.
    constexpr unsigned maxSide = 1024;
    PcxImage opaque, keyed;
    opaque.decode(input, false, maxSide);
    keyed.decode(input, true, maxSide);

    const auto byte = [&](int at) { return at < input.size() ? unsigned(uchar(input[at])) : 0u; };
    const auto word = [&](int at) { return byte(at) + byte(at + 1) * 256u; };
    // A window whose minimum lies above its maximum counts from 0.
    const auto side = [&](int min, int max) {
        return (word(min) <= word(max) ? word(max) - word(min) : word(max)) + 1;
    };
    const unsigned w = side(4, 8), h = side(6, 10);
    const bool fits = w <= maxSide && h <= maxSide;
    check((opaque.pixels() != nullptr) == fits, "an image is decoded exactly when it fits");
    if (!fits) {
        check(opaque.width() == 0 && opaque.height() == 0, "a refused image is empty");
        return;
    }
    check(unsigned(opaque.width()) == w && unsigned(opaque.height()) == h, "header size");
    check(keyed.width() == opaque.width() && keyed.height() == opaque.height(), "same size");
    const std::uint8_t *a = opaque.pixels(), *b = keyed.pixels();
    for (std::size_t i = 0; i < std::size_t(w) * h * 4; i += 4) {
        check(a[i + 3] == 255, "without transparency every pixel is opaque");
        check(b[i + 3] == 0 || b[i + 3] == 255, "alpha is all or nothing");
        check(std::memcmp(a + i, b + i, 3) == 0, "transparency changes only alpha");
    }
    check(b[3] == 0, "the first pixel's colour is the transparent one");
}

void fuzz::mapReader(const QByteArray& input)
{
    // Fixed-size argument block first, then the map file itself; past the
    // input's end the arguments read as zeros.
    int at = 0;
    const auto take = [&](auto value) {
        const int n = std::min(int(sizeof value), input.size() - at);
        std::memcpy(&value, input.constData() + at, std::size_t(n));
        at += n;
        return value;
    };
    // A tile measure is 0..16384, the largest texture the graphics drivers here give.
    const auto side = [&] { return std::int32_t(take(std::uint16_t()) % 16385u); };
    const TileMeasures measures{side(), side() - 5, side(), side()}; // read in this order
    const std::int32_t plate = take(std::int32_t()), otherPlate = take(std::int32_t());
    const double x1 = take(0.0), x2 = take(0.0), w2 = take(0.0);
    const bool fly = take(std::uint8_t()) & 1;
    const std::uint32_t draw = take(std::uint32_t());

    QByteArray file = input.mid(at);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    PlateGrid grid;
    MapFile::parse(buffer, MapFile::standardTileCodes(), grid);
    PlatformMap map;
    map.setMeasures(measures);
    map.setGrid(grid);

    const int rows = map.plateCount(), columns = map.plates().columnCount();
    check(rows >= 0 && rows <= PlateGrid::Capacity, "rows within capacity");
    check(columns >= 0 && columns <= PlateGrid::Capacity, "columns within capacity");
    for (const JumpPoint& p : map.jumpPoints())
        check(p.plate >= 0 && p.plate < rows, "jump points lie on plates of the map");

    for (const int p : {plate, otherPlate, 0, rows - 1, rows}) {
        map.plateY(p);
        map.isNeedStop(x1, x2, p, w2, fly);
        map.isNeedStop(x2, x1, p, w2, !fly);
        check(!map.canJumpTo(x1, p) || (p >= 0 && p < rows), "no jump to a plate outside the map");
        map.pickSpawnPoint(x2, p, draw);
    }

    int pieces = 0;
    map.forEachPiece([&pieces](TilePiece, std::int32_t, std::int32_t) { ++pieces; });
    check(pieces <= 8 * columns * rows, "at most eight pieces per cell");
}

void fuzz::includeExpansion(const QByteArray& input)
{
    // The input is the script, then any number of include files, each part
    // starting after a 0xFF (a byte that UTF-8 text never holds; a 0xFE after
    // it is dropped) with its file name up to the first line feed.
    const QList<QByteArray> parts = input.split('\xFF');
    const QByteArray& script = parts.first();
    QHash<QString, QByteArray> files;
    for (QByteArray part : parts.mid(1)) {
        part = part.startsWith('\xFE') ? part.mid(1) : part;
        const int nameEnd = part.contains('\n') ? part.indexOf('\n') : part.size();
        files.insert(QStringLiteral("scripts/") + QString::fromUtf8(part.left(nameEnd)),
                     part.mid(nameEnd + 1));
    }

    int reads = 0, found = 0;
    qint64 included = 0;
    const FileReader read = [&](const QString& path, qint64 maxBytes) -> std::optional<QByteArray> {
        ++reads;
        const auto it = files.constFind(path);
        if (it == files.constEnd() || it->size() > maxBytes)
            return std::nullopt;
        ++found;
        included += it->size();
        return *it;
    };
    const QString text = textUpToNul(script);
    check(!text.contains(QChar(0)), "script text ends at its first NUL");
    const qint64 budget = 64; // small, so that inputs reach it
    const QString expanded = expandIncludes(text, read, budget);
    check(found > 0 || expanded == text, "nothing changes when no include file exists");
    check(reads <= text.count(QLatin1Char('\n')) + 1, "at most one include per line");
    check(included <= budget, "included files stay within the budget");
}

namespace {

// Accepts literals, operators, single-letter variables and the few words a
// JSON-ish value needs; string contents are skipped. Anything else (loops,
// functions, calls of the host) is refused, so an input can neither hang nor
// escape. Slashes and backslashes outside strings are refused, so no comment
// or regular expression can hide a word from this scan.
bool isJsonish(const QString& source)
{
    static const QStringList words =
        QStringLiteral("true false null undefined NaN Infinity new Object Array String Number "
                       "Boolean Date length var get set return this delete")
            .split(QLatin1Char(' '));
    const auto isWordStart = [](QChar c) { return c.isLetter() || c == '_' || c == '$'; };
    for (int i = 0; i < source.size();) {
        const QChar c = source.at(i);
        int j = i + 1;
        if (c == '"' || c == '\'') {
            while (j < source.size() && source.at(j) != c)
                j += source.at(j) == '\\' ? 2 : 1;
            ++j;
        } else if (c == '/' || c == '\\' || c == '`') {
            return false;
        } else if (isWordStart(c)) {
            while (j < source.size() && (isWordStart(source.at(j)) || source.at(j).isDigit()))
                ++j;
            if (j - i > 1 && !words.contains(source.mid(i, j - i)))
                return false;
        }
        i = j;
    }
    return true;
}

} // namespace

void fuzz::scriptJson(const QByteArray& input)
{
    const QString source = QString::fromUtf8(input.constData(), input.size());
    if (input.size() > 4096 || !isJsonish(source))
        return;

    // A script engine needs the application object.
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    // A fresh engine per input keeps every run alone.
    QScriptEngine engine;
    const QScriptValue value = engine.evaluate(source);
    engine.clearExceptions();
    const QString text = scriptValueToJson(value);
    // Undefined saves as an empty file, which is no value to load back.
    if (text.isEmpty())
        return;

    const std::optional<QJsonValue> read = readJsonText(text);
    check(read.has_value(), "saved text loads without error");
    check(scriptValueToJson(jsonToScriptValue(&engine, *read)) == text,
          "saving what was loaded gives the same text");
}

// Any bytes as a saved file: the reader never crashes, and what it reads,
// written again by the JSON writer, reads back to the same text.
void fuzz::jsonReader(const QByteArray& input)
{
    // A value that is no object or array is written inside an array.
    const auto write = [](const QJsonValue& v) {
        return v.isObject() ? QJsonDocument(v.toObject()).toJson()
                            : QJsonDocument(v.isArray() ? v.toArray() : QJsonArray{v}).toJson();
    };
    const std::optional<QJsonValue> value =
        readJsonText(QString::fromUtf8(input.constData(), input.size()));
    if (!value)
        return;
    const QByteArray written = write(*value);
    const std::optional<QJsonValue> again = readJsonText(QString::fromUtf8(written));
    check(again.has_value(), "what was read, written again, reads back");
    check(write(*again) == written, "and is written the same");
}

void fuzz::imageDecoder(const QByteArray& input)
{
    // Small limits keep every input fast; the limit checks are the same code.
    const ImageLimits limits{2048, 1 << 20};
    DecodedImage decoded;
    const bool ok = image::decode(input, limits, decoded).isEmpty();
    check(ok == (decoded.pixels != nullptr), "pixels exactly on success");
    if (!ok)
        return;
    check(decoded.width >= 1 && decoded.height >= 1 && decoded.width <= limits.maxSide &&
              decoded.height <= limits.maxSide &&
              quint64(decoded.width) * decoded.height <= limits.maxPixels,
          "size within the limits");
    // Every byte is read, so the sanitizer sees a buffer shorter than its size.
    unsigned sum = 0;
    for (std::size_t i = 0; i < std::size_t(decoded.width) * decoded.height * 4; ++i)
        sum += decoded.pixels[i];
    check(sum != 0xFFFFFFFFu || input.isEmpty(), "pixels readable");
}

void fuzz::soundDecoder(const QByteArray& input)
{
    // Music reads the same way a chunk at a time, and goes back to loop.
    QBuffer memory;
    memory.setData(input);
    memory.open(QIODevice::ReadOnly);
    sound::Reader reader(memory);
    std::vector<std::int16_t> chunk(std::size_t(4096) * sound::maxChannels);
    for (int pass = 0; pass < 2 && reader.read(chunk.data(), 4096) > 0; ++pass)
        reader.rewind();
    const quint64 maxSamples = 1 << 20;
    DecodedSound decoded;
    if (!sound::decode(input, maxSamples, decoded).isEmpty()) {
        check(decoded.samples.empty() && decoded.channels == 0, "a refused sound is empty");
        return;
    }
    check(decoded.channels >= 1 && decoded.channels <= sound::maxChannels, "channels");
    check(decoded.sampleRate >= 1 && decoded.sampleRate <= sound::maxSampleRate, "rate");
    check(decoded.samples.size() <= maxSamples, "length within the limit");
    check(decoded.samples.size() % decoded.channels == 0, "whole frames");
}

// Glyphs the guard lets through are rendered as the graphics library does,
// reading every byte it would read, so a guard that passes a bad bitmap fails.
void fuzz::fontGlyphs(const QByteArray& input)
{
    GlyphGuard guard;
    if (!guard.open(input))
        return;
    static const std::uint32_t text[] = {'e', 'x', ' ', 0x416, '!'};
    FT_Library library;
    FT_Face face;
    FT_Init_FreeType(&library);
    const bool opened = FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(input.data()),
                                           FT_Long(input.size()), 0, &face) == 0 &&
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
}
