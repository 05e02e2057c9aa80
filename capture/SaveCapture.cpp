// The data folders and the files each capture leaves.
#include "capture/Form1.h"
#include "data/DataFolders.h"

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

void TForm1::SaveLastCapturedScreen(std::shared_ptr<const Picture> shot, const std::wstring& stem) {
    CreateDirectories();
    // The name the edit icon will open; corrected once the save is done if the PNG failed.
    LastImageFile = stem + L".png";
    saver_.save(std::move(shot), stem);
}

void TForm1::reportSaves(std::vector<SavedFiles> finished) {
    for (const SavedFiles& saved : finished) {
        if (LastImageFile == saved.stem + L".png" && !saved.pictureFile.empty())
            LastImageFile = saved.pictureFile;
        if (auto report = CaptureSaveReport(saved, AppDir + ImagesFolder))
            TrayIcon1->balloon(*report, L"Info", 3);
    }
}

void TForm1::FinishSaves() { reportSaves(saver_.finish()); }

void TForm1::optClearAllFoldersClick() {
    FinishSaves();
    saver_.keepPromisedPng();  // the capture on the clipboard stays pasteable as PNG
    for (const std::wstring* folder : kDataFolders)
        DeleteFolderFiles(platform_, AppDir + *folder + L"\\*.*");
    TrayIcon1->balloon(L"Folders were cleared.", L"Info", 3);
}

}  // namespace gs
