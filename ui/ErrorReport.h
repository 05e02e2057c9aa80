#pragma once
// The report shown for an error that no handler caught.
#include <string>

#include "platform/Platform.h"

namespace gs::ui {

// The message with a full stop added when its last character sorts after the full stop.
std::wstring ErrorReportText(const std::wstring& message);

// The executable's file name up to its first dot, every letter after the first in lower case.
std::wstring ApplicationTitle(Platform& platform);

}  // namespace gs::ui
