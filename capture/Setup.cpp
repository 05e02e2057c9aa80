// setup.csv: the checked index of each options menu, read at start-up, written on every choice.
#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "settings/SetupFile.h"

namespace gs {

int TForm1::FirstCheckedIndex(const ui::MenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i)
        if (parent.item(i)->Checked()) return i;
    return 0;
}

std::array<ui::MenuItem*, 6> TForm1::setupColumns() {
    return {&OpenFolderpp->root(),  &EditImagepp->root(), &ConvertToTextpp->root(),
            &RecordVideopp->root(), optVideoFormat,       optVideoQuality};
}

void TForm1::SaveSetup() {
    int indices[settings::kSetupColumns];
    auto columns = setupColumns();
    for (int i = 0; i < settings::kSetupColumns; ++i) indices[i] = FirstCheckedIndex(*columns[i]);
    settings::SaveSetupFile(platform_, AppDir + L"\\setup.csv", indices);
}

void TForm1::LoadSetup() {
    try {
        const std::wstring path = AppDir + L"\\setup.csv";
        if (!platform_.fileExists(path)) {
            SaveSetup();
            TrayIcon1->balloon(L"Glimmershot has been started.", L"Info", 3, /*unasked=*/true);
            return;
        }
        const std::optional<std::vector<std::string>> fields = settings::ReadSetupFields(path);
        if (!fields) return;
        auto columns = setupColumns();
        // Columns apply in order up to the first one that is missing or wrong.
        for (int i = 0; i < settings::kSetupColumns; ++i) {
            if (static_cast<size_t>(i) >= fields->size()) return;
            const std::optional<int> index =
                settings::ParseSetupInt((*fields)[static_cast<size_t>(i)]);
            if (!index || *index < 0 || *index >= columns[i]->Count()) return;
            columns[i]->item(*index)->setChecked(true);
        }
    } catch (...) {
    }
}

}  // namespace gs
