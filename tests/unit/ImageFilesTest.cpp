#include <gtest/gtest.h>
#include <jpeglib.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "imaging/ImageFiles.h"
#include "imaging/PngDeflate.h"
#include "platform/Executor.h"
#include "platform/Text.h"
#include "support/TempDir.h"

namespace gs::imaging {
namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
    const std::string bytes = test::ReadBytes(p);
    return {bytes.begin(), bytes.end()};
}

uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

Picture noisy(int w, int h, unsigned seed) {
    Picture p(w, h);
    std::mt19937 rng(seed);
    for (auto& px : p.pixels) px = 0xFF000000u | (rng() & 0xFFFFFF);
    // Some flat areas as well, like a real screen.
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 3; ++x) p.at(x, y) = 0xFF336699u;
    return p;
}

using test::TempDir;

TEST(Png, OnlyCriticalChunksRgbSubFilterLevelSevenSmallIdats) {
    TempDir dir;
    const Picture pic = noisy(301, 257, 1);
    WritePng(dir.file("a.png"), pic);
    const auto bytes = readAll(dir.path / "a.png");
    ASSERT_GT(bytes.size(), 8u);
    ASSERT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));

    std::vector<std::string> chunks;
    std::vector<uint8_t> idat;
    size_t pos = 8, largestIdat = 0;
    while (pos + 12 <= bytes.size()) {
        const uint32_t len = be32(&bytes[pos]);
        const std::string type(bytes.begin() + pos + 4, bytes.begin() + pos + 8);
        const uint8_t* data = &bytes[pos + 8];
        EXPECT_EQ(crc32(crc32(0, &bytes[pos + 4], 4), data, len), be32(data + len)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(be32(data), 301u);
            EXPECT_EQ(be32(data + 4), 257u);
            EXPECT_EQ(data[8], 8);   // bit depth
            EXPECT_EQ(data[9], 2);   // RGB
            EXPECT_EQ(data[12], 0);  // not interlaced
        }
        if (type == "IDAT") {
            idat.insert(idat.end(), data, data + len);
            largestIdat = std::max<size_t>(largestIdat, len);
        }
        if (chunks.empty() || chunks.back() != type) chunks.push_back(type);
        pos += 12 + len;
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_LE(largestIdat, 65535u);
    EXPECT_GT(idat.size(), 65535u) << "the picture must need several IDAT chunks";
    ASSERT_GE(idat.size(), 2u);
    EXPECT_EQ(idat[1] >> 6, 3) << "zlib header says maximum-ish compression (levels 7-9)";

    std::vector<uint8_t> raw(static_cast<size_t>(257) * (1 + 301 * 3));
    uLongf rawLen = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawLen, idat.data(), idat.size()), Z_OK);
    ASSERT_EQ(rawLen, raw.size());
    for (int y = 0; y < 257; ++y) {
        uint8_t* row = &raw[static_cast<size_t>(y) * (1 + 301 * 3)];
        ASSERT_EQ(row[0], 1) << "row " << y << " must use the Sub filter";
        for (int i = 4; i < 1 + 301 * 3; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - 3]);
        for (int x = 0; x < 301; ++x) {
            const uint32_t px = pic.at(x, y);
            ASSERT_EQ(row[1 + 3 * x], (px >> 16) & 0xFF);
            ASSERT_EQ(row[2 + 3 * x], (px >> 8) & 0xFF);
            ASSERT_EQ(row[3 + 3 * x], px & 0xFF);
        }
    }
}

TEST(Png, BandedDeflateIsOneValidStreamWhateverTheBands) {
    Executor pool;
    // 3.6 MB of rows: one band alone, a band a core on the pool; 24 MB: three bands or more.
    for (const Picture& pic : {noisy(1200, 1000, 5), noisy(4000, 2000, 6)}) {
        std::vector<uint8_t> reference;
        for (Executor* on : {static_cast<Executor*>(nullptr), &pool}) {
            SCOPED_TRACE(testing::Message() << pic.width << (on ? " on the pool" : " alone"));
            std::vector<uint8_t> z;
            for (const auto& piece : DeflateSubFiltered(pic, 7, on).pieces)
                z.insert(z.end(), piece.bytes.get(), piece.bytes.get() + piece.size);
            EXPECT_EQ(z[0], 0x78);
            EXPECT_EQ(((z[0] << 8) | z[1]) % 31, 0);
            EXPECT_EQ(z[1] >> 6, 3);
            std::vector<uint8_t> raw(static_cast<size_t>(pic.height) * (1 + pic.width * 3));
            uLongf len = raw.size();
            // uncompress checks the Adler-32 of the whole as well.
            ASSERT_EQ(uncompress(raw.data(), &len, z.data(), z.size()), Z_OK);
            ASSERT_EQ(len, raw.size());
            if (reference.empty()) reference = raw;
            EXPECT_EQ(raw, reference);
        }
        EXPECT_EQ(reference[0], 1);
        EXPECT_EQ(reference[1], (pic.at(0, 0) >> 16) & 0xFF);
    }
}

TEST(Jpeg, BaselineRgbThatDecodesToTheSameSize) {
    TempDir dir;
    const Picture pic = noisy(123, 77, 2);
    WriteJpeg(dir.file("a.jpg"), pic, 90);
    const auto bytes = readAll(dir.path / "a.jpg");
    bool baseline = false, progressive = false;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF) continue;
        baseline |= bytes[i + 1] == 0xC0;
        progressive |= bytes[i + 1] == 0xC2;
    }
    EXPECT_TRUE(baseline);
    EXPECT_FALSE(progressive);

    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, bytes.data(), bytes.size());
    ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(d.image_width, 123u);
    EXPECT_EQ(d.image_height, 77u);
    EXPECT_EQ(d.num_components, 3);
    jpeg_destroy_decompress(&d);
}

TEST(ImageFiles, FailuresThrowAndLeaveNoFile) {
    TempDir dir;
    const Picture pic = noisy(10, 10, 3);
    std::filesystem::create_directories(dir.path / "taken.png");  // a folder in the way
    EXPECT_THROW(WritePng(dir.file("taken.png"), pic), std::runtime_error);
    EXPECT_THROW(WriteJpeg(dir.file("missing/a.jpg"), pic), std::runtime_error);
    EXPECT_THROW(WritePng(dir.file("empty.png"), Picture()), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "empty.png"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "missing"));
}

TEST(ImageFiles, BmpKeepsThePixelsBottomUp) {
    TempDir dir;
    const Picture pic = noisy(7, 3, 4);
    WriteBmp(dir.file("a.bmp"), pic);
    const auto b = readAll(dir.path / "a.bmp");
    ASSERT_EQ(b.size(), 54u + 7 * 3 * 4);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[28], 32);              // bits per pixel
    const uint8_t* firstRow = &b[54];  // the bottom row comes first
    for (int x = 0; x < 7; ++x) {
        const uint32_t px = pic.at(x, 2);
        EXPECT_EQ(firstRow[4 * x], px & 0xFF);
        EXPECT_EQ(firstRow[4 * x + 2], (px >> 16) & 0xFF);
    }
}

}  // namespace
}  // namespace gs::imaging
