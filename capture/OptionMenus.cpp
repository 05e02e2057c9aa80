// The four options menus, the video submenus, and what choosing an entry does. Menus, arrows
// and icons are tied together by their names alone.
#include <map>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "resources/Form1Layout.h"

namespace gs {

void TForm1::buildOptionMenus() {
    for (const layout::MenuItemSpec& s : layout::Form1OptionMenus()) {
        auto* menu = dynamic_cast<ui::PopupMenu*>(FindComponent(s.menu));
        if (!menu) menu = &create<ui::PopupMenu>(s.menu);
        ui::MenuItem& item = menu->addItem(*this, s.name, s.caption);
        item.GroupIndex = static_cast<uint8_t>(s.groupIndex);
        item.RadioItem = s.radio;
        item.setChecked(s.checked);
        item.Enabled = s.enabled;
        switch (s.onChoose) {
            case layout::OnChoose::Shared:
                item.OnClick = [this](ui::Component& sender) { optImagesFolderClick(sender); };
                break;
            case layout::OnChoose::ClearAllFolders:
                item.OnClick = [this](ui::Component&) { optClearAllFoldersClick(); };
                break;
            case layout::OnChoose::RenderRecent:
                item.OnClick = [this](ui::Component&) {
                    optRenderVideoUsingRecentConfigurationClick();
                };
                break;
            case layout::OnChoose::None:
                break;
        }
    }
    auto menu = [this](const wchar_t* n) { return dynamic_cast<ui::PopupMenu*>(FindComponent(n)); };
    auto item = [this](const wchar_t* n) { return dynamic_cast<ui::MenuItem*>(FindComponent(n)); };
    OpenFolderpp = menu(L"OpenFolderpp");
    EditImagepp = menu(L"EditImagepp");
    ConvertToTextpp = menu(L"ConvertToTextpp");
    RecordVideopp = menu(L"RecordVideopp");
    optRecordSlowMotion = item(L"optRecordSlowMotion");
    optVideoFormat = item(L"optVideoFormat");
    optVideoQuality = item(L"optVideoQuality");
}

void TForm1::CreateAVSubmenu() {
    static const std::map<std::wstring, ui::MenuItem* TForm1::*> fields = {
        {L"optAVCodecwmv", &TForm1::optAVCodecwmv},
        {L"optAVCodecmp4", &TForm1::optAVCodecmp4},
        {L"optAVCodecflv", &TForm1::optAVCodecflv},
        {L"optAVCodecmov", &TForm1::optAVCodecmov},
        {L"optAVCodecvp8", &TForm1::optAVCodecvp8},
        {L"optAVQualitylow", &TForm1::optAVQualitylow},
        {L"optAVQualitymediumlow", &TForm1::optAVQualitymediumlow},
        {L"optAVQualitymedium", &TForm1::optAVQualitymedium},
        {L"optAVQualityhigh", &TForm1::optAVQualityhigh},
        {L"optAVQualityveryhigh", &TForm1::optAVQualityveryhigh},
    };
    for (const layout::AvEntrySpec& s : layout::AvSubmenuEntries()) {
        ui::MenuItem* parent =
            s.parent == std::wstring(L"optVideoFormat") ? optVideoFormat : optVideoQuality;
        // Owned by its parent item, so its name only has to be unique there.
        ui::MenuItem& e = parent->create<ui::MenuItem>(L"");
        e.Caption = s.caption;
        e.setName(s.name);
        e.GroupIndex = static_cast<uint8_t>(s.groupIndex);
        if (s.checked) e.setChecked(true);  // before it has a parent: clears nothing
        e.RadioItem = true;
        if (s.barBreak) e.Break = ui::MenuBreak::Bar;
        e.OnClick = [this](ui::Component& sender) { optImagesFolderClick(sender); };
        parent->Add(e);
        this->*fields.at(s.field) = &e;
    }
}

void TForm1::OpenFolderPopupBtnClick(ui::Component& sender) {
    // "XPopupBtn" opens "Xpp".
    const std::wstring& n = sender.Name();
    const size_t p = n.find(L"Popup");
    if (p == std::wstring::npos) return;
    auto* menu = dynamic_cast<ui::PopupMenu*>(FindComponent(n.substr(0, p) + L"pp"));
    auto* arrow = dynamic_cast<ui::Control*>(&sender);
    if (!menu || !arrow) return;
    // Below the panel, 40 design pixels left of the arrow.
    menu->Popup(Left() + arrow->bounds().Left - Scaled(40), Top() + Height());
}

void TForm1::optImagesFolderClick(ui::Component& sender) {
    auto* item = dynamic_cast<ui::MenuItem*>(&sender);
    if (!item) return;
    item->setChecked(true);
    SaveSetup();
    if (item->Name().find(L"optAV") != std::wstring::npos) return;
    const ui::MenuItem* root = item;
    while (root->Parent()) root = root->Parent();
    auto* menu = dynamic_cast<ui::PopupMenu*>(root->Owner());
    if (!menu || menu->Name().size() < 2) return;
    // "Xpp" belongs to the icon "X": run its action in the new mode at once.
    auto* icon =
        dynamic_cast<ui::Control*>(FindComponent(menu->Name().substr(0, menu->Name().size() - 2)));
    if (icon && icon->OnClick) icon->OnClick(*icon);
}

void TForm1::OpenFolderClick() {
    const std::wstring* folders[] = {&ImagesFolder, &OCRFolder, &SlowMotionFolder, &VideoFolder};
    std::wstring path;
    for (int i = 0; i < 4; ++i)
        if (OpenFolderpp->Items().at(static_cast<size_t>(i))->Checked())
            path = AppDir + *folders[i];
    platform_.shellExecute(0, L"open", path, L"", AppDir, kSwShow);
    counter = kCounterClose;
}

void TForm1::EditImageClick() {
    FinishSaves();  // the editor must find the file whole
    if (LastImageFile.size() < 2) return;
    if (EditImagepp->Items().at(0)->Checked()) {
        // Quoted, so that a path with spaces reaches the editor as one file.
        platform_.shellExecute(0, L"open", L"mspaint", L"\"" + LastImageFile + L"\"", L".",
                               kSwShow);
    } else if (EditImagepp->Items().at(1)->Checked()) {
        platform_.shellExecute(0, L"open", LastImageFile, L"", L".", kSwShow);
    }
    counter = kCounterClose;
}

}  // namespace gs
