#include "resources/Form1Layout.h"

namespace gs::layout {

namespace {
constexpr const wchar_t* kFolderHint = L"Open videos and screen shots folder";
using ui::clLime;
using ui::clWhite;

// clang-format off
constexpr ControlSpec kControls[] = {
    {Kind::Image, L"bg",                    0,   0,   240, 210, nullptr, 0, false, 0, false, Art::Background},
    {Kind::Image, L"Image1",                15,  30,  210, 135, nullptr, 0, false, 0, false, Art::None},
    {Kind::Label, L"lblHelp",               155, 120, 47,  13, L"help doc", -11, true, clLime, true, Art::None},
    {Kind::Label, L"lbl5",                  15,  120, 136, 13, L"See more information in", -11, true, clWhite, false, Art::None},
    {Kind::Label, L"lbl4",                  15,  100, 173, 13, L"4. Picture is stored in clipboard", -11, true, clWhite, false, Art::None},
    {Kind::Label, L"lbl3",                  15,  80,  106, 13, L"3. Release ALT key", -11, true, clWhite, false, Art::None},
    {Kind::Label, L"lbl2",                  15,  60,  205, 13, L"2. Use mouse to select desktop area", -11, true, clWhite, false, Art::None},
    {Kind::Label, L"lbl1",                  15,  40,  154, 13, L"1. Press ALT key and hold it", -11, true, clWhite, false, Art::None},
    {Kind::FlatButton, L"SpeedButton1",     220, 0,   20,  20, L"X", -13, false, clWhite, false, Art::None},
    {Kind::Label, L"lblInfo2",              10,  4,   140, 13, L"Window will disappear in:", -11, true, clWhite, false, Art::None},
    {Kind::Label, L"lblInfo",               153, 4,   7,   13, L"3", -11, true, clWhite, false, Art::None},
    {Kind::Image, L"EditImage",             65,  170, 32,  32, L"Edit with MS Paint", 0, false, 0, true, Art::EditIcon},
    {Kind::Image, L"OpenFolder",            5,   170, 32,  32, kFolderHint, 0, false, 0, true, Art::FolderIcon},
    {Kind::Image, L"RecordVideo",           185, 170, 32,  32, L"Record video", 0, false, 0, true, Art::VideoIcon},
    {Kind::Image, L"ConvertToText",         125, 170, 32,  32, L"Convert to text", 0, false, 0, true, Art::TextIcon},
    {Kind::Image, L"OpenFolderPopupBtn",    40,  190, 10,  10, kFolderHint, 0, false, 0, true, Art::Arrow},
    {Kind::Image, L"EditImagePopupBtn",     100, 192, 10,  10, kFolderHint, 0, false, 0, true, Art::Arrow},
    {Kind::Image, L"ConvertToTextPopupBtn", 160, 190, 10,  10, kFolderHint, 0, false, 0, true, Art::Arrow},
    {Kind::Image, L"RecordVideoPopupBtn",   220, 192, 10,  10, kFolderHint, 0, false, 0, true, Art::Arrow},
};
// clang-format on
}  // namespace

std::span<const ControlSpec> Form1Controls() { return kControls; }

}  // namespace gs::layout
