#pragma once
// Text recognition of the last capture by the external OCR program.
#include <string>
#include <string_view>

namespace gs {

// The expected output's full path without ".txt" while a result is awaited; empty otherwise.
extern std::wstring OCRResultBase;

// The OCR program's code of an entry of the language menu ("" for none).
std::wstring OcrLanguageCode(int index);

// "-l <code> -psm 1 "<image>" "<base>"".
std::wstring OcrParameters(const std::wstring& language, const std::wstring& image,
                           const std::wstring& base);

// The result file's bytes as the clipboard gets them: every line (ended by LF or CR LF) ends
// with CR LF, decoded from UTF-8 with malformed sequences replaced.
std::wstring OcrText(std::string_view fileBytes);

}  // namespace gs
