// Decoding PNG, JPEG and BMP files the test writes itself, cutting frames, and refusing bad files.

#include "platform/ImageDecoder.hpp"
#include "platform/EventChain.hpp"
#include "platform/ImageData.hpp"
#include "platform/Platform.hpp"
#include "tests/platform/FifoCall.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

// Largest single allocation made through operator new while watching, to prove that an oversized
// header is refused before its pixels are allocated.
namespace {
std::atomic<bool> Watching{false};
std::atomic<size_t> LargestAllocation{0};
} // namespace

// The replacement pairs malloc with free itself; GCC cannot see that through inlined delete expressions.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (Watching && size > LargestAllocation) LargestAllocation = size;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

using TBytes = std::vector<uint8_t>;

struct TPixel {
    uint8_t r, g, b, a;
};

class ImageFiles : public ::testing::Test {
  public:
    void SetUp() override {
        char pattern[] = "/tmp/gorum-images-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        for (const std::string& file : written)
            std::remove(file.c_str());
        rmdir(dir.c_str());
    }

    // Writes a file into the test's own folder, removed again afterwards.
    std::string Write(const std::string& name, const TBytes& bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        written.push_back(path);
        return path;
    }

    std::string dir;
    std::vector<std::string> written;
};

TPixel PixelAt(const TImage& image, int frame, int x, int y) {
    const uint8_t* p =
        image->pixels[static_cast<size_t>(frame)].data() + (size_t{4} * (y * image->width + x));
    return {p[0], p[1], p[2], p[3]};
}

void ExpectPixel(const TPixel& actual, const TPixel& expected, int tolerance = 0) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

// --- writers ----------------------------------------------------------------------------------------------

void PngCollect(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

// Rows of `channels` bytes per pixel (1 grey, 3 RGB, 4 RGBA).
TBytes EncodePng(int width, int height, int colorType, int channels, const TBytes& pixels,
                 bool interlaced = false) {
    TBytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, PngCollect, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(pixels.data()) + size_t{1} * y * width * channels;
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

TBytes EncodeRgbaPng(int width, int height, const std::vector<TPixel>& pixels) {
    TBytes raw;
    for (const TPixel& p : pixels)
        raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    return EncodePng(width, height, PNG_COLOR_TYPE_RGBA, 4, raw);
}

// A solid picture, cheap to build at any size.
TBytes SolidPng(int width, int height, TPixel colour) {
    return EncodeRgbaPng(width, height, std::vector<TPixel>(static_cast<size_t>(width) * height, colour));
}

enum class TScans { One, Progressive };

TBytes EncodeJpeg(int width, int height, int components, const TBytes& pixels, TScans scans = TScans::One) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (scans == TScans::Progressive) {
        // Every colour at full resolution: the most a decoder must hold for a picture of this size.
        for (int c = 0; c < components; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data()) + size_t{info.next_scanline} * width * components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    TBytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Left half red, right half blue; JPEG blocks of 8 keep the halves clean.
TBytes TwoToneJpeg(int width, int height) {
    TBytes rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x < width / 2)
                rgb.insert(rgb.end(), {220, 30, 30});
            else
                rgb.insert(rgb.end(), {20, 40, 200});
        }
    }
    return EncodeJpeg(width, height, 3, rgb);
}

void Put16(TBytes& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}
void Put32(TBytes& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}

// A BMP with a 40-byte header; `rows` are already in file order and padded.
TBytes BmpFile(int32_t width, int32_t height, int bits, const TBytes& palette, const TBytes& rows,
               uint32_t compression = 0) {
    TBytes out{'B', 'M'};
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size());
    Put32(out, offset + static_cast<uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, compression);
    Put32(out, static_cast<uint32_t>(rows.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(palette.size() / 4));
    Put32(out, 0);
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

void PutChunk(TBytes& out, const char* type, const TBytes& body) {
    for (int shift : {24, 16, 8, 0})
        out.push_back(uint8_t(body.size() >> shift));
    TBytes chunk(type, type + 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    const uLong crc = crc32(0, chunk.data(), static_cast<uInt>(chunk.size()));
    out.insert(out.end(), chunk.begin(), chunk.end());
    for (int shift : {24, 16, 8, 0})
        out.push_back(uint8_t(crc >> shift));
}

// A well-formed PNG whose header claims any size, with only a few bytes of picture data behind it:
// libpng reads it up to the picture data, so only the decoder's own check stands before the allocation.
TBytes PngClaiming(uint32_t width, uint32_t height) {
    TBytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TBytes header;
    for (uint32_t v : {width, height})
        for (int shift : {24, 16, 8, 0})
            header.push_back(uint8_t(v >> shift));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    TBytes zeros(64, 0);
    TBytes packed(128);
    uLongf packedSize = packed.size();
    compress(packed.data(), &packedSize, zeros.data(), zeros.size());
    packed.resize(packedSize);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

// A JPEG whose frame header claims the size; nothing follows it.
TBytes JpegHeaderOnly(uint16_t width, uint16_t height) {
    TBytes jpeg = TwoToneJpeg(16, 16);
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = uint8_t(height >> 8);
            jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8);
            jpeg[i + 8] = uint8_t(width);
            break;
        }
    }
    return jpeg;
}

bool RefusedWithoutAllocating(const TBytes& bytes) {
    TImageDecoder decoder;
    LargestAllocation = 0;
    Watching = true;
    const auto start = std::chrono::steady_clock::now();
    const bool decoded = decoder.DecodeBytes(bytes.data(), bytes.size());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    Watching = false;
    EXPECT_LT(LargestAllocation.load(), size_t{1} << 20);
    EXPECT_LT(elapsed, std::chrono::milliseconds(200));
    return !decoded && decoder.rgba.empty() && decoder.width == 0;
}

// What one call costs, measured in a child process so that nothing the test itself holds is counted: its
// time, and how far it raised the process's peaks of mapped and of resident memory. The peaks see every
// allocation, libpng's and libjpeg's as well as the game's, touched or not.
struct TCost {
    double ms = -1;
    long mappedKb = -1;
    long residentKb = -1;
};

long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field)) return std::stol(line.substr(field.size()));
    }
    return -1;
}

template <typename TCall> TCost CostInChild(TCall call) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        const long mapped = StatusKb("VmPeak:");
        const long resident = StatusKb("VmHWM:");
        const auto start = std::chrono::steady_clock::now();
        call();
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        const TCost cost{elapsed.count(), StatusKb("VmPeak:") - mapped, StatusKb("VmHWM:") - resident};
        const bool sent = write(pipeEnds[1], &cost, sizeof cost) == sizeof cost;
        _exit(sent ? 0 : 1);
    }
    close(pipeEnds[1]);
    TCost cost;
    if (read(pipeEnds[0], &cost, sizeof cost) != sizeof cost) cost = {};
    close(pipeEnds[0]);
    waitpid(child, nullptr, 0);
    return cost;
}

// A PNG header, then a chunk claiming 2 GiB of which a hundred bytes follow: 141 bytes in all.
TBytes PngChunkBomb(const char* type) {
    TBytes out = PngClaiming(16, 16);
    out.resize(33); // the signature and the header chunk
    for (uint8_t b : {0x7F, 0xFF, 0xFF, 0xFF})
        out.push_back(b);
    out.insert(out.end(), type, type + 4);
    out.resize(out.size() + 100, 'x');
    return out;
}

// --- PNG --------------------------------------------------------------------------------------------------

TEST_F(ImageFiles, ChunkClaimingGigabytesIsRefusedAtOnceWithLibpngsWarning) {
    for (const char* type : {"tEXt", "zTXt"}) {
        const TBytes bomb = PngChunkBomb(type);
        ASSERT_EQ(bomb.size(), 141u);
        const std::string path = Write(std::string(type) + ".png", bomb);
        const TCost cost = CostInChild([&] { LoadImage(path); });
        EXPECT_GE(cost.ms, 0) << type;
        EXPECT_LT(cost.ms, 50) << type;
        EXPECT_GE(cost.mappedKb, 0) << type;
        EXPECT_LT(cost.mappedKb, 16 << 10) << type;
        EXPECT_LT(cost.residentKb, 16 << 10) << type;

        std::vector<std::string> log;
        SetDebugLogSink([&log](const std::string& line) { log.push_back(line); });
        EXPECT_EQ(LoadImage(path), nullptr);
        SetDebugLogSink(nullptr);
        ASSERT_EQ(log.size(), 1u) << type;
        EXPECT_EQ(log[0], "WARNING: " + path + ": " + type + ": chunk data is too large");
    }
}

// Text and other chunks the picture does not need are skipped, however long, and the picture still shows.
TEST_F(ImageFiles, PngWithLongTextChunksStillDecodes) {
    const TBytes plain = SolidPng(4, 3, {1, 2, 3, 255});
    TBytes texts(plain.begin(), plain.begin() + 33);
    for (int i = 0; i < 40; ++i)
        PutChunk(texts, "tEXt", TBytes(size_t{1} << 20 | 1, 'x'));
    PutChunk(texts, "iCCP", TBytes(5000, 'y'));
    texts.insert(texts.end(), plain.begin() + 33, plain.end());
    TImageDecoder decoder;
    ASSERT_TRUE(decoder.DecodeBytes(texts.data(), texts.size()));
    EXPECT_EQ(decoder.width, 4);
    EXPECT_EQ(decoder.rgba[4 * 11 + 2], 3);
}

TEST_F(ImageFiles, PngKeepsEveryPixelAndItsAlpha) {
    const std::vector<TPixel> pixels = {{255, 0, 0, 255}, {0, 255, 0, 128},    {0, 0, 255, 0},
                                        {10, 20, 30, 40}, {200, 100, 50, 255}, {1, 2, 3, 4}};
    const TImage image = LoadImage(Write("a.png", EncodeRgbaPng(3, 2, pixels)), 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ImageWidth(image), 3);
    EXPECT_EQ(ImageHeight(image), 2);
    EXPECT_EQ(ImageFrames(image), 1);
    for (int i = 0; i < 6; ++i)
        ExpectPixel(PixelAt(image, 0, i % 3, i / 3), pixels[static_cast<size_t>(i)]);
}

TEST_F(ImageFiles, PngWithoutAlphaGreyAndInterlacedBecomeOpaqueRgba) {
    const TBytes rgb = {9, 8, 7, 60, 70, 80, 1, 1, 1, 250, 251, 252};
    const TImage opaque = LoadImage(Write("rgb.png", EncodePng(2, 2, PNG_COLOR_TYPE_RGB, 3, rgb)), 0);
    ASSERT_NE(opaque, nullptr);
    ExpectPixel(PixelAt(opaque, 0, 1, 0), {60, 70, 80, 255});
    ExpectPixel(PixelAt(opaque, 0, 1, 1), {250, 251, 252, 255});

    const TImage grey = LoadImage(Write("grey.png", EncodePng(2, 1, PNG_COLOR_TYPE_GRAY, 1, {77, 200})), 0);
    ASSERT_NE(grey, nullptr);
    ExpectPixel(PixelAt(grey, 0, 1, 0), {200, 200, 200, 255});

    // Adam7 spreads pixels over seven passes; every one must land where it belongs.
    TBytes gradient;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x)
            gradient.insert(gradient.end(), {uint8_t(x * 20), uint8_t(y * 25), 99});
    const TImage interlaced =
        LoadImage(Write("adam7.png", EncodePng(11, 9, PNG_COLOR_TYPE_RGB, 3, gradient, true)), 0);
    ASSERT_NE(interlaced, nullptr);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x)
            ExpectPixel(PixelAt(interlaced, 0, x, y), {uint8_t(x * 20), uint8_t(y * 25), 99, 255});
}

// --- JPEG -------------------------------------------------------------------------------------------------

TEST_F(ImageFiles, JpegColourAndGreyDecodeCloseToTheirSource) {
    const TImage image = LoadImage(Write("two.jpg", TwoToneJpeg(32, 16)), 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ImageWidth(image), 32);
    EXPECT_EQ(ImageHeight(image), 16);
    ExpectPixel(PixelAt(image, 0, 3, 5), {220, 30, 30, 255}, 6);
    ExpectPixel(PixelAt(image, 0, 28, 12), {20, 40, 200, 255}, 6);

    const TImage grey = LoadImage(Write("grey.jpg", EncodeJpeg(8, 8, 1, TBytes(64, 140))), 0);
    ASSERT_NE(grey, nullptr);
    ExpectPixel(PixelAt(grey, 0, 4, 4), {140, 140, 140, 255}, 3);
}

TEST_F(ImageFiles, FormatIsToldByContentNotByName) {
    const TImage png = LoadImage(Write("really-a-png.jpg", SolidPng(2, 2, {5, 6, 7, 255})), 0);
    ASSERT_NE(png, nullptr);
    ExpectPixel(PixelAt(png, 0, 0, 0), {5, 6, 7, 255});
    EXPECT_NE(LoadImage(Write("really-a-jpeg.bmp", TwoToneJpeg(8, 8)), 0), nullptr);
}

// --- BMP --------------------------------------------------------------------------------------------------

TEST_F(ImageFiles, Bmp24IsBottomUpWithPaddedRows) {
    // 3 pixels of 3 bytes pad to 12 bytes a row; the file's first row is the picture's bottom row.
    const TBytes rows = {
        1,   2,   3,   4,   5,   6,   7,   8,   9,   0, 0, 0, // bottom: BGR (1,2,3) (4,5,6) (7,8,9)
        100, 110, 120, 130, 140, 150, 160, 170, 180, 0, 0, 0, // top
    };
    const TImage image = LoadImage(Write("b24.bmp", BmpFile(3, 2, 24, {}, rows)), 0);
    ASSERT_NE(image, nullptr);
    ExpectPixel(PixelAt(image, 0, 0, 0), {120, 110, 100, 255});
    ExpectPixel(PixelAt(image, 0, 2, 0), {180, 170, 160, 255});
    ExpectPixel(PixelAt(image, 0, 0, 1), {3, 2, 1, 255});
    ExpectPixel(PixelAt(image, 0, 2, 1), {9, 8, 7, 255});
}

TEST_F(ImageFiles, Bmp32TopDownKeepsAlphaAndZeroAlphaMeansOpaque) {
    const TBytes withAlpha = {10, 20, 30, 128, 40, 50, 60, 255};
    const TImage image = LoadImage(Write("b32.bmp", BmpFile(1, -2, 32, {}, withAlpha)), 0);
    ASSERT_NE(image, nullptr);
    ExpectPixel(PixelAt(image, 0, 0, 0), {30, 20, 10, 128});
    ExpectPixel(PixelAt(image, 0, 0, 1), {60, 50, 40, 255});

    const TImage spare = LoadImage(Write("b32x.bmp", BmpFile(2, 1, 32, {}, {10, 20, 30, 0, 0, 0, 0, 0})), 0);
    ASSERT_NE(spare, nullptr);
    ExpectPixel(PixelAt(spare, 0, 0, 0), {30, 20, 10, 255});
    ExpectPixel(PixelAt(spare, 0, 1, 0), {0, 0, 0, 255});
}

TEST_F(ImageFiles, Bmp8PaletteAndBitFields) {
    const TBytes palette = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
    // 5 indices pad to 8 bytes; index 7 is beyond the palette and reads as black.
    const TBytes rows = {0, 1, 2, 1, 7, 0, 0, 0};
    const TImage image = LoadImage(Write("b8.bmp", BmpFile(5, 1, 8, palette, rows)), 0);
    ASSERT_NE(image, nullptr);
    ExpectPixel(PixelAt(image, 0, 0, 0), {255, 0, 0, 255});
    ExpectPixel(PixelAt(image, 0, 1, 0), {0, 255, 0, 255});
    ExpectPixel(PixelAt(image, 0, 2, 0), {0, 0, 255, 255});
    ExpectPixel(PixelAt(image, 0, 4, 0), {0, 0, 0, 255});

    // 16-bit 565 through explicit masks after the header.
    TBytes masks;
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    Put32(masks, 0x001F);
    TBytes rows565;
    Put16(rows565, 0xF800);
    Put16(rows565, 0x07E0);
    const TImage packed = LoadImage(Write("b16.bmp", BmpFile(2, 1, 16, masks, rows565, 3)), 0);
    ASSERT_NE(packed, nullptr);
    ExpectPixel(PixelAt(packed, 0, 0, 0), {255, 0, 0, 255});
    ExpectPixel(PixelAt(packed, 0, 1, 0), {0, 255, 0, 255});
}

// --- flags and frames -------------------------------------------------------------------------------------

TEST_F(ImageFiles, MaskedFlagClearsOnlyPureBlackOnTopOfFileAlpha) {
    const std::vector<TPixel> pixels = {{0, 0, 0, 255}, {1, 0, 0, 255}, {0, 0, 0, 128}, {9, 9, 9, 128}};
    const std::string path = Write("mask.png", EncodeRgbaPng(4, 1, pixels));
    const TImage masked = LoadImage(path, -1);
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(masked->flags, ImageMasked | ImageFiltered);
    EXPECT_EQ(PixelAt(masked, 0, 0, 0).a, 0);
    EXPECT_EQ(PixelAt(masked, 0, 1, 0).a, 255);
    EXPECT_EQ(PixelAt(masked, 0, 2, 0).a, 0);
    EXPECT_EQ(PixelAt(masked, 0, 3, 0).a, 128);

    const TImage plain = LoadImage(path, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(PixelAt(plain, 0, 0, 0).a, 255);
    EXPECT_EQ(PixelAt(plain, 0, 2, 0).a, 128);

    // A JPEG has no alpha of its own, yet masking still applies to it.
    const TImage jpeg = LoadImage(Write("black.jpg", EncodeJpeg(8, 8, 3, TBytes(192, 0))), ImageMasked);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(PixelAt(jpeg, 0, 3, 3).a, 0);
}

// Cells of 2 x 2 in a 9 x 4 picture: 4 columns (the odd column is left over) and 2 rows; cell n is
// filled with red = n * 10.
std::string WriteCells(ImageFiles& files, const std::string& name) {
    std::vector<TPixel> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
            const int cell = x < 8 ? (y / 2) * 4 + x / 2 : 99;
            pixels.push_back({uint8_t(cell * 10 % 256), uint8_t(x % 2), uint8_t(y % 2), 255});
        }
    return files.Write(name, EncodeRgbaPng(9, 4, pixels));
}

using FramesTest = ImageFiles;

TEST_F(FramesTest, FramesRunLeftToRightThenTopToBottom) {
    const std::string path = WriteCells(*this, "cells.png");
    const TImage frames = LoadFrames(path, 2, 2, 2, 4, 0);
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(ImageWidth(frames), 2);
    EXPECT_EQ(ImageHeight(frames), 2);
    ASSERT_EQ(ImageFrames(frames), 4);
    for (int k = 0; k < 4; ++k) {
        // Every pixel of the frame comes from its own cell, in the cell's own layout.
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                ExpectPixel(PixelAt(frames, k, x, y), {uint8_t((k + 2) * 10), uint8_t(x), uint8_t(y), 255});
    }
    const TImage all = LoadFrames(path, 2, 2, 0, 8, 0);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(PixelAt(all, 7, 0, 0).r, 70);
}

TEST_F(FramesTest, TooFewFramesOrBadCellsGiveNone) {
    const std::string path = WriteCells(*this, "cells.png");
    EXPECT_EQ(LoadFrames(path, 2, 2, 5, 4, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 2, 2, 0, 9, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 2, 2, -1, 2, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 2, 2, 0, 0, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 0, 2, 0, 1, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 10, 2, 0, 1, 0), nullptr);
    EXPECT_EQ(LoadFrames(path, 2, 2, 2147483647, 1, 0), nullptr);
    EXPECT_EQ(LoadFrames(dir + "/none.png", 2, 2, 0, 1, 0), nullptr);
}

TEST_F(ImageFiles, IconStripIsCutIntoSquaresOfItsHeight) {
    // 8-bit paletted, 50 x 16: three 16 x 16 icons (two columns left over), colours 0, 1, 2 by icon.
    const TBytes palette = {0, 0, 200, 0, 0, 200, 0, 0, 200, 0, 0, 0};
    TBytes rows;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 52; ++x)
            rows.push_back(x < 48 ? uint8_t(x / 16) : 0);
    }
    const TImage strip = LoadIconStrip(Write("SkillTypes.bmp", BmpFile(50, 16, 8, palette, rows)));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(ImageFrames(strip), 3);
    EXPECT_EQ(ImageWidth(strip), 16);
    EXPECT_EQ(ImageHeight(strip), 16);
    ExpectPixel(PixelAt(strip, 0, 15, 15), {200, 0, 0, 255});
    ExpectPixel(PixelAt(strip, 1, 0, 0), {0, 200, 0, 255});
    ExpectPixel(PixelAt(strip, 2, 8, 3), {0, 0, 200, 255});
    EXPECT_EQ(LoadIconStrip(Write("tall.png", SolidPng(4, 8, {1, 1, 1, 255}))), nullptr);
}

TEST(CreateImageTest, EmptyDynamicFramesOrNone) {
    const TImage image = CreateImage(5, 3, 2, -1);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags, ImageMasked | ImageFiltered | ImageDynamic);
    EXPECT_EQ(ImageFrames(image), 2);
    for (const auto& frame : image->pixels) {
        ASSERT_EQ(frame.size(), 5u * 3 * 4);
        for (uint8_t byte : frame)
            EXPECT_EQ(byte, 0);
    }
    EXPECT_EQ(CreateImage(4, 4, 1, 0)->flags, ImageDynamic);
    EXPECT_EQ(CreateImage(0, 4, 1, 0), nullptr);
    EXPECT_EQ(CreateImage(4, 4, 0, 0), nullptr);
    EXPECT_EQ(CreateImage(MaxImageSide + 1, 1, 1, 0), nullptr);
    EXPECT_EQ(CreateImage(4096, 4096, 5, 0), nullptr);
    // The limit counts the pixels of every frame: two frames of 2048 x 2048 are the most there may be.
    EXPECT_NE(CreateImage(2048, 2048, 2, 0), nullptr);
    EXPECT_EQ(CreateImage(2048, 2048, 3, 0), nullptr);
    EXPECT_EQ(ImageWidth(nullptr), 0);
    EXPECT_EQ(ImageHeight(nullptr), 0);
    EXPECT_EQ(ImageFrames(nullptr), 0);
}

// --- bad files --------------------------------------------------------------------------------------------

TEST_F(ImageFiles, MissingEmptyAndForeignFilesGiveNone) {
    EXPECT_EQ(LoadImage(dir + "/absent.png"), nullptr);
    EXPECT_EQ(LoadImage(Write("empty.png", {})), nullptr);
    EXPECT_EQ(LoadImage(Write("text.png", {'h', 'e', 'l', 'l', 'o'})), nullptr);
    EXPECT_EQ(LoadImage(dir), nullptr);
    EXPECT_EQ(LoadImage("/dev/zero"), nullptr);
    EXPECT_EQ(LoadFrames(Write("magic.png", {0x89, 'P', 'N', 'G'}), 1, 1, 0, 1), nullptr);
    EXPECT_EQ(LoadIconStrip(dir + "/absent.bmp"), nullptr);
}

// A FIFO would block the loader and a huge file would fill memory: both are refused with a warning.
TEST_F(ImageFiles, OnlyRegularFilesOfBoundedSizeAreDecoded) {
    std::vector<std::string> log;
    SetDebugLogSink([&log](const std::string& line) { log.push_back(line); });
    const std::string fifo = dir + "/fifo.png";
    written.push_back(fifo);
    EXPECT_TRUE(ReturnsDespiteFifo(fifo, [&] { return LoadImage(fifo) == nullptr; }));
    const std::string padded = Write("padded.bmp", BmpFile(1, 1, 24, {}, {1, 2, 3, 0}));
    constexpr uintmax_t Cap = uintmax_t{64} << 20;
    std::filesystem::resize_file(padded, Cap + 1);
    EXPECT_EQ(LoadImage(padded), nullptr);
    std::filesystem::resize_file(padded, Cap);
    EXPECT_NE(LoadImage(padded), nullptr);
    SetDebugLogSink(nullptr);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ImageFiles, TruncatedFilesGiveNoneAtEveryLength) {
    const TBytes png = SolidPng(40, 30, {1, 2, 3, 255});
    const TBytes jpeg = TwoToneJpeg(48, 32);
    TBytes rows(static_cast<size_t>(12) * 4, 7);
    const TBytes bmp = BmpFile(4, 4, 24, {}, rows);
    for (const TBytes* whole : {&png, &jpeg, &bmp}) {
        TImageDecoder decoder;
        ASSERT_TRUE(decoder.DecodeBytes(whole->data(), whole->size()));
        // Every cut that loses picture data must fail; a PNG may lose its end chunk, a JPEG its end marker.
        const size_t spare = whole == &png ? 12 : (whole == &jpeg ? 2 : 0);
        for (size_t length = 0; length + spare < whole->size(); ++length) {
            TBytes cut(whole->begin(), whole->begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(decoder.DecodeBytes(cut.data(), cut.size())) << "length " << length;
        }
    }
    EXPECT_EQ(LoadImage(Write("half.png", TBytes(png.begin(), png.begin() + 60))), nullptr);
}

TEST_F(ImageFiles, CorruptFilesGiveNone) {
    TBytes png = SolidPng(16, 16, {1, 2, 3, 255});
    png[png.size() - 20] ^= 0x5A; // inside the picture data: its checksum no longer holds
    EXPECT_EQ(LoadImage(Write("crc.png", png)), nullptr);

    TBytes jpeg = TwoToneJpeg(16, 16);
    for (size_t i = 3; i < jpeg.size(); ++i)
        jpeg[i] = uint8_t(i * 37);
    EXPECT_EQ(LoadImage(Write("noise.jpg", jpeg)), nullptr);

    TBytes bmp = BmpFile(2, 2, 24, {}, TBytes(16, 1));
    bmp[28] = 7; // seven bits a pixel
    EXPECT_EQ(LoadImage(Write("bits.bmp", bmp)), nullptr);
    bmp = BmpFile(2, 2, 24, {}, TBytes(16, 1), 1); // run-length coded
    EXPECT_EQ(LoadImage(Write("rle.bmp", bmp)), nullptr);
    bmp = BmpFile(2, 2, 24, {}, TBytes(16, 1));
    bmp[10] = 0xF0; // pixel data said to start past the end
    EXPECT_EQ(LoadImage(Write("offset.bmp", bmp)), nullptr);
    bmp = BmpFile(2, 0, 24, {}, {});
    EXPECT_EQ(LoadImage(Write("flat.bmp", bmp)), nullptr);

    // Random bytes behind each signature never crash and never decode.
    srand(7);
    for (const TBytes& magic :
         {TBytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, TBytes{0xFF, 0xD8, 0xFF}, TBytes{'B', 'M'}}) {
        for (int trial = 0; trial < 50; ++trial) {
            TBytes noise = magic;
            for (int i = 0; i < 200; ++i)
                noise.push_back(uint8_t(rand()));
            TImageDecoder decoder;
            EXPECT_FALSE(decoder.DecodeBytes(noise.data(), noise.size()));
        }
    }
}

// Each scan of a progressive JPEG passes over the whole picture, so a file repeating one scan thousands of
// times kept the decoder busy for minutes while libjpeg only warned.
TEST_F(ImageFiles, ProgressiveJpegIsHeldToFewScans) {
    // One colour, so that the last scan is a few bytes.
    const TBytes jpeg = EncodeJpeg(1024, 1024, 3, TBytes(size_t{1024} * 1024 * 3, 90), TScans::Progressive);
    TImageDecoder decoder;
    ASSERT_TRUE(decoder.DecodeBytes(jpeg.data(), jpeg.size()));

    size_t lastScan = jpeg.size() - 2;
    while (!(jpeg[lastScan] == 0xFF && jpeg[lastScan + 1] == 0xDA))
        --lastScan;
    TBytes endless(jpeg.begin(), jpeg.end() - 2);
    for (int i = 0; i < 2000; ++i)
        endless.insert(endless.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(lastScan), jpeg.end() - 2);
    endless.insert(endless.end(), {0xFF, 0xD9});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(decoder.DecodeBytes(endless.data(), endless.size()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// A progressive picture of the largest size, every colour at full resolution, is the most libjpeg must hold.
TEST_F(ImageFiles, ProgressiveJpegOfTheLargestSizeFitsLibjpegsBudget) {
    TImageDecoder decoder;
    const int width = 4096;
    const int height = static_cast<int>(MaxImagePixels / width);
    const TBytes largest =
        EncodeJpeg(width, height, 3, TBytes(size_t{3} * width * height, 90), TScans::Progressive);
    EXPECT_TRUE(decoder.DecodeBytes(largest.data(), largest.size()));
}

TEST(OversizedImages, HeadersClaimingTooManyPixelsAreRefusedBeforeAllocation) {
    EXPECT_TRUE(RefusedWithoutAllocating(PngClaiming(20000, 10)));
    EXPECT_TRUE(RefusedWithoutAllocating(PngClaiming(9000, 9000)));
    EXPECT_TRUE(RefusedWithoutAllocating(JpegHeaderOnly(20000, 10)));
    EXPECT_TRUE(RefusedWithoutAllocating(JpegHeaderOnly(9000, 9000)));
    EXPECT_TRUE(RefusedWithoutAllocating(JpegHeaderOnly(10546, 2816))); // a fuzzer's: seconds to decode
    EXPECT_TRUE(RefusedWithoutAllocating(BmpFile(20000, 10, 24, {}, TBytes(64, 0))));
    EXPECT_TRUE(RefusedWithoutAllocating(BmpFile(9000, -9000, 32, {}, TBytes(64, 0))));
    EXPECT_TRUE(RefusedWithoutAllocating(BmpFile(-5, 5, 24, {}, TBytes(64, 0))));
    // An allowed size whose pixels the file does not hold, and headers and palettes reaching past the end.
    EXPECT_TRUE(RefusedWithoutAllocating(BmpFile(4096, 2048, 32, {}, TBytes(64, 0))));
    TBytes header = BmpFile(4, 4, 8, TBytes(16, 1), TBytes(16, 0));
    for (int i : {14, 46})
        std::fill_n(header.begin() + i, 4, 0xF0);
    EXPECT_TRUE(RefusedWithoutAllocating(header));

    // The limits themselves are allowed: a 16384-pixel side decodes.
    TImageDecoder decoder;
    const TBytes wide = SolidPng(MaxImageSide, 1, {3, 3, 3, 255});
    EXPECT_TRUE(decoder.DecodeBytes(wide.data(), wide.size()));
    EXPECT_EQ(decoder.width, MaxImageSide);
    EXPECT_TRUE(TImageDecoder::SizeAllowed(4096, 2048));
    EXPECT_FALSE(TImageDecoder::SizeAllowed(4096, 2049));
}

} // namespace

TEST_F(ImageFiles, OneFileLoadedTwiceIsSharedUntilItChanges) {
    const std::string path = Write("shared.png", SolidPng(2, 2, {10, 20, 30, 255}));
    const TImage image = LoadImage(path, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(LoadImage(path, 0), image);
    EXPECT_NE(LoadImage(path, -1), image); // other flags, other pixels
    EXPECT_NE(LoadFrames(path, 1, 1, 0, 2, 0), image);

    Write("shared.png", SolidPng(3, 2, {40, 50, 60, 255}));
    const TImage changed = LoadImage(path, 0);
    ASSERT_NE(changed, nullptr);
    EXPECT_NE(changed, image);
    EXPECT_EQ(ImageWidth(changed), 3);
    ExpectPixel(PixelAt(changed, 0, 2, 1), {40, 50, 60, 255});
}
