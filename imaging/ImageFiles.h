#pragma once
// Writing pictures to files: PNG through libpng, JPEG through libjpeg, BMP by hand.
// Each throws std::runtime_error on failure and leaves no partial file behind.
#include <string>

#include "imaging/PngDeflate.h"
#include "platform/Picture.h"

namespace gs::imaging {

struct PngOptions {
    int level = 7;                  // zlib compression level
    unsigned maxIdatBytes = 65535;  // IDAT chunk size limit
    bool runLength = false;         // speed before size (see DeflateSubFiltered)
    Executor* pool = nullptr;       // shares the compression out (else the calling thread)
};

// 8-bit RGB, no alpha, not interlaced, the Sub filter on every row, only IHDR/IDAT/IEND.
void WritePng(const std::wstring& path, const ui::Picture& picture, const PngOptions& options = {});
// The same from rows fetched as they are compressed (no copy of the whole picture).
void WritePng(const std::wstring& path, const RgbRows& rows, const PngOptions& options = {});

// 24-bit RGB, the library's defaults, the given quality, baseline.
void WriteJpeg(const std::wstring& path, const ui::Picture& picture, int quality = 90);

// 32 bits per pixel, bottom-up, as the screen delivers it.
void WriteBmp(const std::wstring& path, const ui::Picture& picture);

}  // namespace gs::imaging
