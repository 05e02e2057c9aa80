#pragma once
// The Win32 realisation of the form layer. Creating it registers the window classes of the
// program's hidden helper window.
#include <memory>

#include "platform/Platform.h"
#include "ui/Backend.h"

namespace gs::ui {

class Win32Backend;

std::unique_ptr<Backend> MakeWin32Backend(Platform& platform);

// Runs the GUI thread's message loop until the main form closes; returns the exit code.
int RunMessageLoop();

}  // namespace gs::ui
