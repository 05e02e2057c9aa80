// The data folders and the files each capture leaves.
#include "capture/CaptureFiles.h"
#include "capture/Form1.h"
#include "imaging/ImageFiles.h"

namespace gs {

void TForm1::CreateDirectories() {
    for (const std::wstring* folder : kDataFolders) CreateDataDirectory(AppDir + *folder);
}

void TForm1::CreateDataDirectory(const std::wstring& aDir) {
    if (platform_.createDirectoryTree(aDir)) return;
    platform_.messageBox(handle(),
                         L"Cannot create directory \"" + aDir + L"\". Please create it manually.",
                         L"Info", kMbOk | kMbIconInformation);
}

TForm1::SavedFiles TForm1::SaveLastCapturedScreen() {
    SavedFiles saved;
    try {
        CreateDirectories();
        const std::wstring stem = AppDir + ImagesFolder + L"\\" + GetUniqueFileName(platform_);
        // Each file is tried on its own: one that cannot be written never costs the other.
        auto attempt = [](auto&& write) {
            try {
                write();
                return true;
            } catch (...) {
                return false;
            }
        };
        saved.picture = attempt([&] {
                            LastImageFile = stem + L".png";
                            imaging::WritePng(LastImageFile, LastCapturedScreen, {7, 65535});
                        }) ||
                        attempt([&] {
                            // A BMP of the capture as it came from the screen.
                            LastImageFile = stem + L".bmp";
                            imaging::WriteBmp(LastImageFile, LastCapturedScreen);
                            saved.bmp = true;
                        });
        saved.jpeg = attempt([&] { imaging::WriteJpeg(stem + L".jpg", LastCapturedScreen, 90); });
        if (!saved.picture && saved.jpeg) LastImageFile = stem + L".jpg";  // what the editor gets
    } catch (...) {
    }
    return saved;
}

std::optional<std::wstring> CaptureSaveReport(const TForm1::SavedFiles& saved, bool onClipboard,
                                              const std::wstring& folder) {
    if (!saved.picture && !saved.jpeg)
        return L"The capture could not be saved in \"" + folder + L"\"" +
               (onClipboard ? L". It is on the clipboard." : L" nor put on the clipboard.");
    const std::wstring busy = onClipboard ? L"" : L" Another program held the clipboard.";
    if (!saved.jpeg)
        return std::wstring(L"The capture was saved as ") + (saved.bmp ? L"BMP" : L"PNG") +
               L" but could not be saved as JPG in \"" + folder + L"\"." + busy;
    if (!saved.picture)
        return L"The capture was saved as JPG but could not be saved as PNG in \"" + folder +
               L"\"." + busy;
    if (!onClipboard) return L"The capture was saved, but another program held the clipboard.";
    return std::nullopt;
}

void TForm1::optClearAllFoldersClick() {
    for (const std::wstring* folder : kDataFolders)
        DeleteFolderFiles(platform_, AppDir + *folder + L"\\*.*");
    TrayIcon1->balloon(L"Folders were cleared.", L"Info", 3);
}

}  // namespace gs
