#include "recording/FrameTiming.h"

namespace gs {

std::wstring FrameFileName(const std::wstring& folder, int index) {
    return folder + L"\\" + std::to_wstring(1000000 + index).substr(1) + L".png";
}

void DrawCursor(Picture& frame, const Picture& mark, int left, int top) {
    BlendPicture(frame.pixels.data(), frame.width, frame.height, mark, left, top,
                 BlendClip{0, 0, frame.width, frame.height}, true);
}

}  // namespace gs
