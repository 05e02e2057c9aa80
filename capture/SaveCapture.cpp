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

void TForm1::SaveLastCapturedScreen() {
    CreateDirectories();
    const std::wstring stem = AppDir + ImagesFolder + L"\\" + GetUniqueFileName(platform_);
    try {
        LastImageFile = stem + L".png";
        imaging::WritePng(LastImageFile, LastCapturedScreen, {7, 65535});
    } catch (...) {
        // A BMP of the capture as it came from the screen; its failure reaches the caller.
        LastImageFile = stem + L".bmp";
        imaging::WriteBmp(LastImageFile, LastCapturedScreen);
    }
    imaging::WriteJpeg(stem + L".jpg", LastCapturedScreen, 90);
}

void TForm1::optClearAllFoldersClick() {
    for (const std::wstring* folder : kDataFolders)
        DeleteFolderFiles(platform_, AppDir + *folder + L"\\*.*");
    TrayIcon1->balloon(L"Folders were cleared.", L"Info", 3);
}

}  // namespace gs
