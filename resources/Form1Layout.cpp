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

constexpr auto S = OnChoose::Shared;
// clang-format off
constexpr MenuItemSpec kMenus[] = {
    {L"OpenFolderpp", L"optImagesFolder", L"Images Folder", 1, true, true, true, S},
    {L"OpenFolderpp", L"optOCRFolder", L"OCR Folder", 1, true, false, true, S},
    {L"OpenFolderpp", L"optSlowMotionFolder", L"Slow Motion Folder", 1, true, false, true, S},
    {L"OpenFolderpp", L"optVideoFolder", L"Video Folder", 1, true, false, true, S},
    {L"OpenFolderpp", L"optClearAllFolders", L"Clear All Folders", 1, false, false, true, OnChoose::ClearAllFolders},
    {L"EditImagepp", L"optEditWithMSPaint", L"Edit in MS Paint", 2, true, true, true, S},
    {L"EditImagepp", L"optEditWithDefaultEditor", L"Edit in Default Editor", 2, true, false, true, S},
    {L"ConvertToTextpp", L"Englis1", L"Czech", 3, true, false, true, S},
    {L"ConvertToTextpp", L"English1", L"English", 3, true, true, true, S},
    {L"ConvertToTextpp", L"French1", L"French", 3, true, false, false, S},
    {L"ConvertToTextpp", L"Germany1", L"Germany", 3, true, false, false, S},
    {L"ConvertToTextpp", L"Italy1", L"Italy", 3, true, false, false, S},
    {L"ConvertToTextpp", L"Portuguese1", L"Portuguese", 3, true, false, false, S},
    {L"ConvertToTextpp", L"Russian1", L"Russian", 3, true, false, false, S},
    {L"ConvertToTextpp", L"Spain1", L"Spain", 3, true, false, false, S},
    {L"RecordVideopp", L"optRecordSlowMotion", L"Record Slow Motion", 4, true, false, true, S},
    {L"RecordVideopp", L"optRecordVideo", L"Record Video", 4, true, true, true, S},
    {L"RecordVideopp", L"optVideoFormat", L"Video Format ...", 4, false, false, true, OnChoose::None},
    {L"RecordVideopp", L"optVideoQuality", L"Video Quality ...", 4, false, false, true, OnChoose::None},
    {L"RecordVideopp", L"optRenderVideoUsingRecentConfiguration", L"Render Latest Video Using Recent Configuration", 4, false, false, true, OnChoose::RenderRecent},
};

constexpr AvEntrySpec kAv[] = {
    {L"optVideoFormat", L"optAVCodecwmv", L"optAVCodecwmv1", L"WMV (Windows Media Video)", 10, true, false},
    {L"optVideoFormat", L"optAVCodecmp4", L"optAVCodecmp4", L"MPEG4", 10, false, false},
    {L"optVideoFormat", L"optAVCodecflv", L"optAVCodecflv", L"FLV (Flash Video)", 10, false, false},
    {L"optVideoFormat", L"optAVCodecmov", L"optAVCodecmov", L"MOV (Quick Time Movie)", 10, false, false},
    {L"optVideoFormat", L"optAVCodecvp8", L"optAVCodecwebm", L"WebM (VP8)", 10, false, false},
    {L"optVideoQuality", L"optAVQualitylow", L"optAVQualitylow", L"Quality Low", 20, false, true},
    {L"optVideoQuality", L"optAVQualitymediumlow", L"optAVQualitymediumlow", L"Quality Medium Low", 20, false, false},
    {L"optVideoQuality", L"optAVQualitymedium", L"optAVQualitymedium", L"Quality Medium", 20, false, false},
    {L"optVideoQuality", L"optAVQualityhigh", L"optAVQualityhigh", L"Quality High", 20, false, false},
    {L"optVideoQuality", L"optAVQualityveryhigh", L"optAVQualityveryhigh", L"Quality Very High", 20, true, false},
};
// clang-format on
}  // namespace

std::span<const ControlSpec> Form1Controls() { return kControls; }
std::span<const MenuItemSpec> Form1OptionMenus() { return kMenus; }
std::span<const AvEntrySpec> AvSubmenuEntries() { return kAv; }

}  // namespace gs::layout
