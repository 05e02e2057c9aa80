// setup.csv: the checked index of each options menu, read at start-up, written on every choice.
#include <cstdio>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "platform/FileIo.h"
#include "settings/SetupCsv.h"

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
    try {
        int indices[settings::kSetupColumns];
        auto columns = setupColumns();
        for (int i = 0; i < settings::kSetupColumns; ++i)
            indices[i] = FirstCheckedIndex(*columns[i]);
        const std::string text = settings::SetupFileText(indices);
        // Written beside the old file and moved over it in one step: a failed save leaves
        // the previous file as it was, never a truncated one.
        const std::wstring path = AppDir + L"\\setup.csv", temp = path + L".tmp";
        auto write = [&text](const std::wstring& to, bool toDisk) {
            File f = OpenFile(to, L"wb");
            if (!f) return false;
            const bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
            return CloseFile(f, toDisk) && ok;
        };
        if (write(temp, true)) {
            if (!platform_.replaceFile(temp, path)) platform_.deleteFile(temp);
        } else if (!platform_.fileExists(temp)) {
            // No temporary file can be made here (a folder of that name, or a folder where
            // files may be changed but not created): the choice is still kept, in place.
            write(path, true);
        } else {
            platform_.deleteFile(temp);
        }
    } catch (...) {
    }
}

void TForm1::LoadSetup() {
    try {
        const std::wstring path = AppDir + L"\\setup.csv";
        if (!platform_.fileExists(path)) {
            SaveSetup();
            TrayIcon1->balloon(L"Glimmershot has been started.", L"Info", 3, /*unasked=*/true);
            return;
        }
        File f = OpenFile(path, L"rb");
        if (!f) return;
        settings::LastLineReader reader;
        char buf[16384];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
            reader.feed(std::string_view(buf, n));
        if (std::ferror(f.get())) return;
        f.reset();

        const std::vector<std::string> fields = settings::SplitSetupLine(reader.last());
        auto columns = setupColumns();
        // Columns apply in order up to the first one that is missing or wrong.
        for (int i = 0; i < settings::kSetupColumns; ++i) {
            if (static_cast<size_t>(i) >= fields.size()) return;
            const std::optional<int> index =
                settings::ParseSetupInt(fields[static_cast<size_t>(i)]);
            if (!index || *index < 0 || *index >= columns[i]->Count()) return;
            columns[i]->item(*index)->setChecked(true);
        }
    } catch (...) {
    }
}

}  // namespace gs
