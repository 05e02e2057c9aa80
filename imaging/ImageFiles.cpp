#include "imaging/ImageFiles.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "imaging/PngDeflate.h"
#include "platform/FileIo.h"
#include "platform/LittleEndian.h"

namespace gs::imaging {

namespace {

// Opens, lets `write` fill the file, and removes whatever is left when anything failed.
template <class Write>
void writeFile(const std::wstring& path, const char* what, Write write) {
    if (File f = OpenFile(path, L"wb")) {
        const bool ok = write(f.get());
        if (CloseFile(f) && ok) return;
    }
    RemoveFile(path);
    throw std::runtime_error(std::string("Cannot write the ") + what + " file");
}

// libpng writes the container (signature, IHDR, chunk framing and CRCs); the image data is
// deflated beforehand, in bands on several threads, and handed over as ready IDAT chunks.
// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and there.
// `staging` gathers the stream's pieces into IDAT chunks of the full allowed size.
bool pngInto(std::FILE* f, const RgbRows& p, const ZlibStream& z, std::vector<uint8_t>& staging) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    static const png_byte kIdat[5] = {'I', 'D', 'A', 'T', 0};
    static const png_byte kIend[5] = {'I', 'E', 'N', 'D', 0};
    size_t held = 0;
    for (const ZlibStream::Piece& piece : z.pieces)
        for (size_t at = 0; at < piece.size;) {
            const size_t n = std::min(staging.size() - held, piece.size - at);
            std::memcpy(staging.data() + held, piece.bytes.get() + at, n);
            held += n, at += n;
            if (held == staging.size()) png_write_chunk(png, kIdat, staging.data(), held), held = 0;
        }
    if (held) png_write_chunk(png, kIdat, staging.data(), held);
    png_write_chunk(png, kIend, nullptr, 0);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr c) { std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1); }

bool jpegInto(std::FILE* f, const ui::Picture& p, int quality, uint8_t* row) {
    jpeg_compress_struct c{};
    JpegError err{};
    c.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegFail;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = static_cast<JDIMENSION>(p.width);
    c.image_height = static_cast<JDIMENSION>(p.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        RowToRgb(p, static_cast<int>(c.next_scanline), row);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

void requireImage(const ui::Picture& p) {
    if (p.empty() || p.pixels.size() != static_cast<size_t>(p.width) * p.height)
        throw std::runtime_error("No picture to write");
}

}  // namespace

void WritePng(const std::wstring& path, const ui::Picture& picture, const PngOptions& options) {
    requireImage(picture);
    WritePng(path, RowsOf(picture), options);
}

void WritePng(const std::wstring& path, const RgbRows& rows, const PngOptions& options) {
    if (options.maxIdatBytes == 0) throw std::invalid_argument("IDAT size limit");
    const ZlibStream z = DeflateSubFiltered(rows, options.level, options.pool, options.runLength);
    std::vector<uint8_t> staging(std::min<size_t>(options.maxIdatBytes, z.size()));
    writeFile(path, "PNG", [&](std::FILE* f) { return pngInto(f, rows, z, staging); });
}

void WriteJpeg(const std::wstring& path, const ui::Picture& picture, int quality) {
    requireImage(picture);
    std::vector<uint8_t> row(static_cast<size_t>(picture.width) * 3);
    writeFile(path, "JPG", [&](std::FILE* f) { return jpegInto(f, picture, quality, row.data()); });
}

void WriteBmp(const std::wstring& path, const ui::Picture& picture) {
    requireImage(picture);
    const uint32_t pixelBytes = static_cast<uint32_t>(picture.pixels.size() * 4);
    std::vector<uint8_t> head;
    head.reserve(54);
    head.push_back('B');
    head.push_back('M');
    PutLittleEndian(head, 54 + pixelBytes, 4);
    PutLittleEndian(head, 0, 4);
    PutLittleEndian(head, 54, 4);
    PutLittleEndian(head, 40, 4);
    PutLittleEndian(head, static_cast<uint32_t>(picture.width), 4);
    PutLittleEndian(head, static_cast<uint32_t>(picture.height), 4);  // positive: bottom-up
    PutLittleEndian(head, 1, 2);
    PutLittleEndian(head, 32, 2);
    PutLittleEndian(head, 0, 4);  // BI_RGB
    PutLittleEndian(head, pixelBytes, 4);
    PutLittleEndian(head, kPixelsPerMetreAt96Dpi, 4);
    PutLittleEndian(head, kPixelsPerMetreAt96Dpi, 4);
    PutLittleEndian(head, 0, 4);
    PutLittleEndian(head, 0, 4);
    writeFile(path, "BMP", [&](std::FILE* f) {
        if (std::fwrite(head.data(), 1, head.size(), f) != head.size()) return false;
        for (int y = picture.height - 1; y >= 0; --y) {
            const uint32_t* row = &picture.pixels[static_cast<size_t>(y) * picture.width];
            std::vector<uint8_t> bytes;
            bytes.reserve(static_cast<size_t>(picture.width) * 4);
            for (int x = 0; x < picture.width; ++x) PutLittleEndian(bytes, row[x] & 0xFFFFFF, 4);
            if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return false;
        }
        return true;
    });
}

}  // namespace gs::imaging
