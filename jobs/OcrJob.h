#pragma once
// Text recognition of the last capture by the external OCR program.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Executor.h"
#include "platform/Picture.h"
#include "platform/Platform.h"

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

// The job's steps, run by the main window.
// The capture enlarged by its factor into `image` (PNG), made on the pool while the calling
// (GUI) thread handles its messages; `stillWanted` is asked between the steps (Exit may come
// meanwhile), `beforeWriting` runs once the enlargement is set up and before the file is
// written. Throws when the capture is too large to enlarge or the file cannot be written.
// False when no longer wanted.
bool WriteOcrPicture(Platform& platform, Executor& pool, const Picture& capture,
                     const std::wstring& image, const std::function<bool()>& stillWanted,
                     const std::function<void()>& beforeWriting);
// Names the result to await (OCRResultBase): the time of the click and the next counter.
void AwaitOcrResult(Platform& platform);
// Starts the OCR program of the tools folder on `image`, writing to OCRResultBase.
void StartOcr(Platform& platform, NativeWindow owner, const std::wstring& language,
              const std::wstring& image);
// The awaited result's text once its file is complete; nothing before.
std::optional<std::wstring> FinishedOcrText(Platform& platform);

}  // namespace gs
