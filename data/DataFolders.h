#pragma once
// The data folder tree beside the program and the names of the files in it.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace gs {

// The program's folder without a trailing separator; set once at start-up.
extern std::wstring AppDir;
// Full path of the last capture's picture file (PNG, or BMP after a PNG failure).
extern std::wstring LastImageFile;
// Drawn by GetUniqueFileName from the GUI and the render thread alike.
extern std::atomic<uint32_t> FileCounter;

inline const std::wstring ImagesFolder = L"\\Data\\Published\\img";
inline const std::wstring OCRFolder = L"\\Data\\Published\\ocr";
inline const std::wstring SlowMotionFolder = L"\\Data\\Published\\slowmotion";
inline const std::wstring VideoFolder = L"\\Data\\Published\\video";
inline const std::wstring TempVideoFolder = L"\\Data\\Temp\\Video";
inline const std::wstring ToolsFolder = L"\\Data\\TesseractOCR";

// The five folders the program creates and clears (never the tools folder).
inline const std::wstring* const kDataFolders[] = {&ImagesFolder, &OCRFolder, &SlowMotionFolder,
                                                   &VideoFolder, &TempVideoFolder};

// The directory part of an executable's path, without its trailing separator.
std::wstring AppDirOf(const std::wstring& exePath);

// "yyyy-mm-dd-hh-nn-ss-CCCC": local time and the counter modulo 10 000.
std::wstring FileStem(const LocalTime& t, uint32_t counter);
std::wstring GetUniqueFileName(Platform& platform);

// Deletes every file matching the wildcard, silently.
void DeleteFolderFiles(Platform& platform, const std::wstring& wildcard);

}  // namespace gs
