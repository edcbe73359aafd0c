#include "platform/ImageDecoder.hpp"

#include "platform/FileBytes.hpp"
#include "platform/Platform.hpp"

#include <csetjmp>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

// libpng and libjpeg report errors by longjmp. Every function below that calls setjmp keeps only plain C
// data in its frame, so the jump never skips a destructor; C++ buffers live in the callers.

namespace {

// Far beyond any artwork of the game, and enough for an uncompressed 4096 x 4096 BMP.
constexpr size_t MaxImageFileBytes = size_t{64} << 20;
// Longer chunks are skipped with libpng's warning. The chunks the picture needs (header, palette,
// transparency) are a few hundred bytes; the picture data is streamed and never held whole.
constexpr png_alloc_size_t MaxPngChunkBytes = png_alloc_size_t{1} << 20;
constexpr int MaxPngCachedChunks = 16;
// What libjpeg may take for a picture it must hold whole (a progressive one): 48 MiB at the largest size
// allowed. A larger need is refused rather than spilled to a temporary file.
constexpr long MaxJpegWorkBytes = 64L << 20;
// Each scan of a progressive JPEG passes over the whole picture. libjpeg's own progression has ten scans,
// encoders that tune theirs about twenty; a file of half a megabyte repeating one scan 20,000 times kept
// the decoder busy for minutes.
constexpr int MaxJpegScans = 32;

bool HasPrefix(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return data != nullptr && size >= length && std::memcmp(data, magic, length) == 0;
}

// --- PNG --------------------------------------------------------------------------------------------------

// A decoder's warnings go to the debug log under the name of what it decodes, the first of each picture
// only, as libjpeg does by itself: a corrupt file can hold thousands.
struct TWarnings {
    const std::string* name = nullptr;
    bool told = false;

    void Tell(const char* what) {
        if (told) return;
        told = true;
        DebugLog("WARNING: " + *name + ": " + what);
    }
};

struct TPngReader {
    TWarnings warnings;
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    int passes = 1;
};

void PngReadBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<TPngReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->pos) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->pos, count);
    reader->pos += count;
}

void PngFail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngWarn(png_structp png, png_const_charp message) {
    static_cast<TPngReader*>(png_get_error_ptr(png))->warnings.Tell(message);
}

bool PngReadHeader(TPngReader* reader) {
    if (setjmp(png_jmpbuf(reader->png))) return false;
    png_set_read_fn(reader->png, reader, PngReadBytes);
    // libpng refuses a larger header itself, before it allocates rows.
    png_set_user_limits(reader->png, MaxImageSide, MaxImageSide);
    // Only the chunks that make the picture are read; text, profiles and the rest are skipped unread, so no
    // chunk's claimed length makes libpng take memory for it (a 141-byte file claiming a 2 GiB text chunk
    // took 2 GiB and seconds).
    png_set_keep_unknown_chunks(reader->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(reader->png, MaxPngChunkBytes);
    png_set_chunk_cache_max(reader->png, MaxPngCachedChunks);
    png_read_info(reader->png, reader->info);
    reader->width = png_get_image_width(reader->png, reader->info);
    reader->height = png_get_image_height(reader->png, reader->info);
    if (!TImageDecoder::SizeAllowed(reader->width, reader->height)) return false;
    // Palette, grey, 16-bit and transparency-key pictures all become 8-bit RGBA.
    png_set_expand(reader->png);
    png_set_scale_16(reader->png);
    png_set_gray_to_rgb(reader->png);
    png_set_add_alpha(reader->png, 0xFF, PNG_FILLER_AFTER);
    reader->passes = png_set_interlace_handling(reader->png);
    png_read_update_info(reader->png, reader->info);
    return png_get_rowbytes(reader->png, reader->info) == size_t{reader->width} * 4;
}

bool PngReadRows(TPngReader* reader, uint8_t* out) {
    if (setjmp(png_jmpbuf(reader->png))) return false;
    const size_t stride = size_t{reader->width} * 4;
    for (int pass = 0; pass < reader->passes; ++pass) {
        for (uint32_t y = 0; y < reader->height; ++y)
            png_read_row(reader->png, out + y * stride, nullptr);
    }
    return true;
}

bool DecodePng(const uint8_t* data, size_t size, const std::string& name, TImageDecoder& out) {
    TPngReader reader;
    reader.warnings.name = &name;
    reader.data = data;
    reader.size = size;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, PngFail, PngWarn);
    if (reader.png == nullptr) return false;
    reader.info = png_create_info_struct(reader.png);
    bool ok = reader.info != nullptr && PngReadHeader(&reader);
    if (ok) {
        out.rgba.assign(size_t{reader.width} * reader.height * 4, 0);
        ok = PngReadRows(&reader, out.rgba.data());
    }
    png_destroy_read_struct(&reader.png, &reader.info, nullptr);
    if (!ok) return false;
    out.width = static_cast<int>(reader.width);
    out.height = static_cast<int>(reader.height);
    return true;
}

// --- JPEG -------------------------------------------------------------------------------------------------

struct TJpegReader {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    jmp_buf jump;
    TWarnings* warnings;
    bool truncated;
};

void JpegFail(j_common_ptr info) {
    longjmp(static_cast<TJpegReader*>(info->client_data)->jump, 1);
}

void JpegMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    auto* reader = static_cast<TJpegReader*>(info->client_data);
    // libjpeg pads a short file with an end marker and only warns; a cut-off picture is still a failure.
    if (info->err->msg_code == JWRN_JPEG_EOF) reader->truncated = true;
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    reader->warnings->Tell(text);
}

void JpegProgress(j_common_ptr info) {
    auto* reader = static_cast<TJpegReader*>(info->client_data);
    if (reader->info.input_scan_number <= MaxJpegScans) return;
    reader->warnings->Tell(("more than " + std::to_string(MaxJpegScans) + " scans").c_str());
    JpegFail(info);
}

void JpegSilent(j_common_ptr) {}

bool JpegReadHeader(TJpegReader* reader, const uint8_t* data, size_t size) {
    if (setjmp(reader->jump)) return false;
    jpeg_create_decompress(&reader->info);
    reader->info.mem->max_memory_to_use = MaxJpegWorkBytes;
    reader->info.progress = &reader->progress;
    jpeg_mem_src(&reader->info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&reader->info, TRUE) != JPEG_HEADER_OK) return false;
    reader->info.out_color_space = JCS_RGB;
    return TImageDecoder::SizeAllowed(reader->info.image_width, reader->info.image_height);
}

bool JpegReadRows(TJpegReader* reader, uint8_t* out) {
    if (setjmp(reader->jump)) return false;
    jpeg_start_decompress(&reader->info);
    const JDIMENSION width = reader->info.output_width;
    if (reader->info.output_components != 3 || width != reader->info.image_width ||
        reader->info.output_height != reader->info.image_height)
        return false;
    while (reader->info.output_scanline < reader->info.output_height) {
        uint8_t* row = out + size_t{reader->info.output_scanline} * width * 4;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&reader->info, rows, 1) != 1) return false;
        // Spread RGB to RGBA in place, from the right so that no byte is overwritten before it is read.
        for (JDIMENSION x = width; x-- > 0;) {
            row[x * 4 + 3] = 0xFF;
            row[x * 4 + 2] = row[x * 3 + 2];
            row[x * 4 + 1] = row[x * 3 + 1];
            row[x * 4 + 0] = row[x * 3 + 0];
        }
        if (reader->truncated) return false;
    }
    return !reader->truncated;
}

bool DecodeJpeg(const uint8_t* data, size_t size, const std::string& name, TImageDecoder& out) {
    TJpegReader reader;
    std::memset(&reader, 0, sizeof reader);
    TWarnings warnings{&name};
    reader.warnings = &warnings;
    reader.info.err = jpeg_std_error(&reader.errors);
    reader.errors.error_exit = JpegFail;
    reader.errors.emit_message = JpegMessage;
    reader.errors.output_message = JpegSilent;
    reader.progress.progress_monitor = JpegProgress;
    reader.info.client_data = &reader;
    bool ok = JpegReadHeader(&reader, data, size);
    if (ok) {
        out.rgba.assign(size_t{reader.info.image_width} * reader.info.image_height * 4, 0);
        ok = JpegReadRows(&reader, out.rgba.data());
    }
    const int width = static_cast<int>(reader.info.image_width);
    const int height = static_cast<int>(reader.info.image_height);
    jpeg_destroy_decompress(&reader.info);
    if (!ok) return false;
    out.width = width;
    out.height = height;
    return true;
}

// --- BMP --------------------------------------------------------------------------------------------------

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// One colour channel of a packed pixel, described by its bit mask and widened to 8 bits.
struct TChannel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit TChannel(uint32_t bits) : mask(bits) {
        if (mask == 0) return;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        max = mask >> shift;
    }
    uint8_t Of(uint32_t pixel, uint8_t absent) const {
        if (max == 0) return absent;
        return static_cast<uint8_t>((((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

bool DecodeBmp(const uint8_t* data, size_t size, TImageDecoder& out) {
    constexpr size_t FileHeader = 14;
    if (size < FileHeader + 12) return false;
    const uint32_t pixelOffset = Le32(data + 10);
    const uint32_t infoSize = Le32(data + 14);
    int64_t width = 0;
    int64_t height = 0;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t paletteUsed = 0;
    if (infoSize == 12) {
        width = Le16(data + 18);
        height = static_cast<int16_t>(Le16(data + 20));
        bits = Le16(data + 24);
    } else if (infoSize >= 40 && size >= FileHeader + 40) {
        width = static_cast<int32_t>(Le32(data + 18));
        height = static_cast<int32_t>(Le32(data + 22));
        bits = Le16(data + 28);
        compression = Le32(data + 30);
        paletteUsed = Le32(data + 46);
    } else {
        return false;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (!TImageDecoder::SizeAllowed(width, height)) return false;

    constexpr uint32_t Plain = 0;
    constexpr uint32_t BitFields = 3;
    constexpr uint32_t AlphaBitFields = 6;
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    const bool packed = bits == 16 || bits == 32;
    if (!(paletted || packed || bits == 24)) return false;
    if (compression != Plain && !(packed && (compression == BitFields || compression == AlphaBitFields)))
        return false;

    // Masks of packed pixels: given after the 40-byte header (or inside a longer one), else the defaults.
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (bits == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    const bool plainAlpha = bits == 32 && compression == Plain;
    if (plainAlpha) masks[3] = 0xFF000000;
    if (compression != Plain) {
        const int count = compression == AlphaBitFields || infoSize >= 56 ? 4 : 3;
        if (size < FileHeader + 40 + 4 * static_cast<size_t>(count)) return false;
        for (int i = 0; i < count; ++i)
            masks[i] = Le32(data + FileHeader + 40 + 4 * i);
    }

    uint8_t palette[256][3] = {};
    uint32_t paletteCount = 0;
    if (paletted) {
        paletteCount = paletteUsed != 0 ? paletteUsed : 1u << bits;
        if (paletteCount > (1u << bits)) return false;
        const size_t entry = infoSize == 12 ? 3 : 4;
        const size_t start = FileHeader + infoSize;
        if (start + entry * paletteCount > size) return false;
        for (uint32_t i = 0; i < paletteCount; ++i) {
            const uint8_t* bgr = data + start + entry * i;
            palette[i][0] = bgr[2];
            palette[i][1] = bgr[1];
            palette[i][2] = bgr[0];
        }
    }

    const size_t stride = static_cast<size_t>((width * bits + 31) / 32) * 4;
    if (pixelOffset > size || stride * static_cast<size_t>(height) > size - pixelOffset) return false;

    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    std::vector<uint8_t> rgba(static_cast<size_t>(width * height) * 4);
    bool anyAlpha = false;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = data + pixelOffset + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
        uint8_t* dest = rgba.data() + static_cast<size_t>(y * width) * 4;
        for (int64_t x = 0; x < width; ++x, dest += 4) {
            if (paletted) {
                const int64_t bit = x * bits;
                const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index < paletteCount) std::memcpy(dest, palette[index], 3);
                dest[3] = 0xFF;
            } else if (bits == 24) {
                dest[0] = row[x * 3 + 2];
                dest[1] = row[x * 3 + 1];
                dest[2] = row[x * 3 + 0];
                dest[3] = 0xFF;
            } else {
                const uint32_t pixel = bits == 16 ? Le16(row + x * 2) : Le32(row + x * 4);
                dest[0] = red.Of(pixel, 0);
                dest[1] = green.Of(pixel, 0);
                dest[2] = blue.Of(pixel, 0);
                dest[3] = alpha.Of(pixel, 0xFF);
                anyAlpha = anyAlpha || dest[3] != 0;
            }
        }
    }
    // Most writers leave the spare byte of a plain 32-bit BMP at zero; such a picture is opaque.
    if (plainAlpha && !anyAlpha) {
        for (size_t i = 3; i < rgba.size(); i += 4)
            rgba[i] = 0xFF;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.rgba = std::move(rgba);
    return true;
}

} // namespace

bool TImageDecoder::SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
           width * height <= MaxImagePixels;
}

bool TImageDecoder::DecodeBytes(const uint8_t* data, size_t size, const std::string& name) {
    width = 0;
    height = 0;
    rgba.clear();
    bool ok = false;
    if (HasPrefix(data, size, "\x89PNG\r\n\x1A\n", 8))
        ok = DecodePng(data, size, name, *this);
    else if (HasPrefix(data, size, "\xFF\xD8\xFF", 3))
        ok = DecodeJpeg(data, size, name, *this);
    else if (HasPrefix(data, size, "BM", 2))
        ok = DecodeBmp(data, size, *this);
    if (!ok) {
        width = 0;
        height = 0;
        rgba = {};
    }
    return ok;
}

bool TImageDecoder::DecodeFile(const std::string& path) {
    width = 0;
    height = 0;
    rgba = {};
    std::string bytes;
    if (!ReadFileBytes(path, MaxImageFileBytes, bytes) || bytes.empty()) return false;
    return DecodeBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), path);
}
