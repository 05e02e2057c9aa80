#include "recording/ClipForm.h"

namespace gs {

TClipForm::TClipForm(Platform& platform, ui::Backend& backend)
    : ui::Form(backend, L"ClipForm"), platform_(platform) {
    Caption = L"ClipForm";
    setStayOnTop(true);
    setBounds(0, 0, 651, 375);
    realize();
}

}  // namespace gs
