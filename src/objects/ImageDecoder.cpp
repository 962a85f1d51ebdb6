#include "objects/ImageDecoder.h"

#include "core/AssetFile.h"
#include "objects/StbImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

using asset::damaged;

QString outOfMemory()
{
    return QStringLiteral("out of memory");
}

// Checks the declared size and takes the pixel memory.
QString allocate(const ImageLimits& limits, quint64 w, quint64 h, DecodedImage& out)
{
    if (w == 0 || h == 0)
        return damaged();
    if (w > limits.maxSide || h > limits.maxSide || w * h > limits.maxPixels)
        return asset::tooLarge(w, h);
    out.pixels.reset(new (std::nothrow) std::uint8_t[w * h * 4]);
    if (!out.pixels)
        return outOfMemory();
    out.width = unsigned(w);
    out.height = unsigned(h);
    return QString();
}

// ---------------------------------------------------------------- PNG

void pngRead(png_structp png, png_bytep to, png_size_t count)
{
    auto* in = static_cast<Bytes*>(png_get_io_ptr(png));
    if (count > in->size - in->pos)
        png_error(png, "truncated");
    std::memcpy(to, in->data + in->pos, count);
    in->pos += count;
}

void pngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

struct PngRead {
    Bytes in;
    ImageLimits limits;
    DecodedImage& out;
    QString reason;
    std::vector<png_bytep> rows;
};

// No object with a destructor lives in this frame: libpng leaves by longjmp.
bool readPng(png_structp png, png_infop info, PngRead& r)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &r.in, pngRead);
    // Checksums were never looked at; files with wrong ones keep loading.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    r.reason = allocate(r.limits, w, h, r.out);
    if (!r.reason.isEmpty())
        return false;
    const int type = png_get_color_type(png, info);
    const bool keyed = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !keyed)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(w) * 4)
        return false;
    r.rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        r.rows[y] = r.out.pixels.get() + std::size_t(y) * w * 4;
    png_read_image(png, r.rows.data());
    return true;
}

QString decodePng(const Bytes& in, const ImageLimits& limits, DecodedImage& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return outOfMemory();
    }
    PngRead r{in, limits, out, QString(), {}};
    const bool ok = readPng(png, info, r);
    png_destroy_read_struct(&png, &info, nullptr);
    if (ok)
        return QString();
    return r.reason.isEmpty() ? damaged() : r.reason;
}

// ---------------------------------------------------------------- JPEG

// Legitimate progressive files have about ten scans; thousands of tiny
// scans would each pass over the whole image.
constexpr int maxJpegScans = 100;

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void jpegMessage(j_common_ptr, int) {}
void jpegOutput(j_common_ptr) {}

void jpegProgress(j_common_ptr info)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > maxJpegScans)
        jpegError(info);
}

struct JpegRead {
    Bytes in;
    ImageLimits limits;
    DecodedImage& out;
    QString reason;
    JpegErrors errors;
    jpeg_progress_mgr progress;
};

bool readJpeg(jpeg_decompress_struct& d, JpegRead& r)
{
    if (setjmp(r.errors.jump))
        return false;
    jpeg_create_decompress(&d);
    d.mem->max_memory_to_use = long(r.limits.maxPixels * image::workBytesPerPixel);
    d.progress = &r.progress;
    jpeg_mem_src(&d, r.in.data, static_cast<unsigned long>(r.in.size));
    jpeg_read_header(&d, TRUE);
    r.reason = allocate(r.limits, d.image_width, d.image_height, r.out);
    if (!r.reason.isEmpty())
        return false;
    // Four-channel files are ink amounts, as Adobe stores them: each colour
    // is scaled by the black channel.
    const bool cmyk = d.num_components == 4;
    d.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    d.do_block_smoothing = FALSE;
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = r.out.pixels.get() + std::size_t(d.output_scanline) * r.out.width * 4;
        jpeg_read_scanlines(&d, &row, 1);
        for (unsigned x = 0; cmyk && x < r.out.width; ++x, row += 4) {
            for (int c = 0; c < 3; ++c) {
                const unsigned t = unsigned(row[c]) * row[3] + 128;
                row[c] = JSAMPLE((t + (t >> 8)) >> 8);
            }
            row[3] = 255;
        }
    }
    return true;
}

QString decodeJpeg(const Bytes& in, const ImageLimits& limits, DecodedImage& out)
{
    jpeg_decompress_struct d;
    JpegRead r{in, limits, out, QString(), {}, {}};
    d.err = jpeg_std_error(&r.errors.mgr);
    r.errors.mgr.error_exit = jpegError;
    r.errors.mgr.emit_message = jpegMessage;
    r.errors.mgr.output_message = jpegOutput;
    r.progress.progress_monitor = jpegProgress;
    const bool ok = readJpeg(d, r);
    jpeg_destroy_decompress(&d);
    if (ok)
        return QString();
    return r.reason.isEmpty() ? damaged() : r.reason;
}

// ---------------------------------------------------------------- GIF

int gifRead(GifFileType* gif, GifByteType* to, int count)
{
    auto* in = static_cast<Bytes*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(std::size_t(count), in->size - in->pos);
    std::memcpy(to, in->data + in->pos, n);
    in->pos += n;
    return int(n);
}

// The first picture on the logical screen; what it does not cover, and its
// transparent pixels, are the background colour, fully transparent.
QString readGif(GifFileType* gif, const ImageLimits& limits, DecodedImage& out)
{
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return damaged();
        if (type == TERMINATE_RECORD_TYPE)
            return damaged();
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                return damaged();
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparent = (block[1] & 1) ? block[4] : -1;
            while (block)
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    return damaged();
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return damaged();
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        if (!colours || frame.Left < 0 || frame.Top < 0 || frame.Width < 0 || frame.Height < 0 ||
            frame.Left + frame.Width > gif->SWidth || frame.Top + frame.Height > gif->SHeight)
            return damaged();
        const QString reason = allocate(limits, quint64(gif->SWidth), quint64(gif->SHeight), out);
        if (!reason.isEmpty())
            return reason;
        GifColorType background{0, 0, 0};
        if (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount)
            background = gif->SColorMap->Colors[gif->SBackGroundColor];
        for (std::size_t i = 0; i < std::size_t(out.width) * out.height; ++i) {
            std::uint8_t* to = out.pixels.get() + i * 4;
            to[0] = background.Red;
            to[1] = background.Green;
            to[2] = background.Blue;
            to[3] = 0;
        }
        std::vector<GifPixelType> line(std::size_t(frame.Width) + 1);
        static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        const int passes = frame.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int first = frame.Interlace ? start[pass] : 0;
            const int by = frame.Interlace ? step[pass] : 1;
            for (int y = first; y < frame.Height; y += by) {
                if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                    out = DecodedImage();
                    return damaged();
                }
                std::uint8_t* to =
                    out.pixels.get() + (std::size_t(frame.Top + y) * out.width + frame.Left) * 4;
                for (int x = 0; x < frame.Width; ++x, to += 4) {
                    const int index = line[std::size_t(x)];
                    if (index == transparent || index >= colours->ColorCount)
                        continue;
                    const GifColorType& c = colours->Colors[index];
                    to[0] = c.Red;
                    to[1] = c.Green;
                    to[2] = c.Blue;
                    to[3] = 255;
                }
            }
        }
        return QString();
    }
}

QString decodeGif(Bytes in, const ImageLimits& limits, DecodedImage& out)
{
    int error = 0;
    GifFileType* gif = DGifOpen(&in, gifRead, &error);
    if (!gif)
        return damaged();
    const QString reason = readGif(gif, limits, out);
    DGifCloseFile(gif, &error);
    return reason;
}

// ---------------------------------------------------------------- others

QString decodeOther(const Bytes& in, const ImageLimits& limits, DecodedImage& out)
{
    int w = 0, h = 0;
    switch (stb::info(in.data, in.size, w, h)) {
    case stb::Header::Unknown:
        return asset::unknownFormat();
    case stb::Header::Damaged:
        return damaged();
    case stb::Header::Ok:
        break;
    }
    const QString reason = allocate(limits, quint64(w), quint64(h), out);
    if (!reason.isEmpty())
        return reason;
    if (!stb::load(in.data, in.size, limits.maxPixels * image::workBytesPerPixel, out.width,
                   out.height, out.pixels.get()))
        return damaged();
    return QString();
}

bool startsWith(const Bytes& in, const char* magic, std::size_t length)
{
    return in.size >= length && std::memcmp(in.data, magic, length) == 0;
}

} // namespace

QString image::decode(const QByteArray& bytes, const ImageLimits& limits, DecodedImage& out)
{
    out = DecodedImage();
    const Bytes in{reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   std::size_t(bytes.size())};
    QString reason;
    if (startsWith(in, "\x89PNG\r\n\x1a\n", 8))
        reason = decodePng(in, limits, out);
    else if (startsWith(in, "\xff\xd8\xff", 3))
        reason = decodeJpeg(in, limits, out);
    else if (startsWith(in, "GIF87a", 6) || startsWith(in, "GIF89a", 6))
        reason = decodeGif(in, limits, out);
    else
        reason = decodeOther(in, limits, out);
    if (!reason.isEmpty())
        out = DecodedImage();
    return reason;
}
