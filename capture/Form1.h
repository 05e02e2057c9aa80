#pragma once
// The main window: the preview panel, its 50 ms tick and the tray icon.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/CaptureSaver.h"
#include "capture/PreviewModel.h"
#include "capture/Services.h"
#include "jobs/VideoRender.h"
#include "platform/Platform.h"
#include "platform/Types.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Tray.h"

namespace gs {

class TClipForm;

class TForm1 : public ui::Form {
  public:
    // The services the window routes its clicks and ticks to (its saves, renders and OCR
    // pictures), which outlive it.
    TForm1(Platform& platform, ui::Backend& backend, Services& services);
    ~TForm1() override;

    // Start-up creates the frame window after this one; the tick relies on it, and its
    // recordings are rendered by this window's render queue.
    void attachClipForm(TClipForm& clip);

    // Fields, in the order the program's logic reads them.
    Point StartPoint{};
    Point StopPoint{};
    Point NewCursorPoint{};
    Point OldCursorPoint{};
    double HoldingPositionSince = 0.0;
    // Shared with the saver writing its files and the OCR worker reading it: never copied.
    std::shared_ptr<const Picture> LastCapturedScreen = std::make_shared<const Picture>();
    double counter = 0.0;
    double timecounter = 0.0;

    // Components found by name once the layout is built.
    ui::Image* bg = nullptr;
    ui::Image* Image1 = nullptr;
    ui::Label* lblHelp = nullptr;
    ui::Label* lblInfo = nullptr;
    ui::Label* lblInfo2 = nullptr;
    ui::SpeedButton* SpeedButton1 = nullptr;
    ui::TrayIcon* TrayIcon1 = nullptr;
    ui::PopupMenu* PopupMenu1 = nullptr;
    ui::Timer* Timer1 = nullptr;
    ui::PopupMenu* OpenFolderpp = nullptr;
    ui::PopupMenu* EditImagepp = nullptr;
    ui::PopupMenu* ConvertToTextpp = nullptr;
    ui::PopupMenu* RecordVideopp = nullptr;
    ui::MenuItem* optRecordSlowMotion = nullptr;
    ui::MenuItem* optVideoFormat = nullptr;
    ui::MenuItem* optVideoQuality = nullptr;
    // The video submenus' entries, built by CreateAVSubmenu.
    ui::MenuItem* optAVCodecwmv = nullptr;
    ui::MenuItem* optAVCodecmp4 = nullptr;
    ui::MenuItem* optAVCodecflv = nullptr;
    ui::MenuItem* optAVCodecmov = nullptr;
    ui::MenuItem* optAVCodecvp8 = nullptr;
    ui::MenuItem* optAVQualitylow = nullptr;
    ui::MenuItem* optAVQualitymediumlow = nullptr;
    ui::MenuItem* optAVQualitymedium = nullptr;
    ui::MenuItem* optAVQualityhigh = nullptr;
    ui::MenuItem* optAVQualityveryhigh = nullptr;

    // Event handlers.
    void FormCreate();
    void Timer1Timer();
    void bgMouseEnter() { counter = kCounterPinned; }
    void SpeedButton1Click() { counter = 0.0; }
    void TrayIcon1Click();
    void Exit1Click();
    void HelpClick();
    void S1Click();
    void Donotstartonwindowsstartup1Click();
    void TrayIcon1BalloonClick();
    void OpenFolderClick();
    void EditImageClick();
    void ConvertToTextClick();
    void RecordVideoClick();
    void SetupVideoOptions();
    void OpenFolderPopupBtnClick(ui::Component& sender);
    void optImagesFolderClick(ui::Component& sender);
    void optClearAllFoldersClick();
    void optRenderVideoUsingRecentConfigurationClick();

    // Options menus and setup.csv.
    void CreateAVSubmenu();
    void SaveSetup();
    void LoadSetup();
    static int FirstCheckedIndex(const ui::MenuItem& parent);

    // The ALT selection, run as the last step of every tick.
    void selectionStep();
    // Copies the area between StartPoint and StopPoint; true when something was captured.
    bool getscreen();
    Picture fitBitmapToRectangle(const Picture& source, int aWidth, int aHeight);
    // The capture fitted into the preview's box at the panel's scale.
    Picture fitPreview(const Picture& shot);

    // Capture files.
    void CreateDirectories();
    void CreateDataDirectory(const std::wstring& aDir);
    // Queues the capture's PNG and JPG under `stem` (a full path without the extension); they
    // are written on a worker while the program goes on.
    void SaveLastCapturedScreen(std::shared_ptr<const Picture> shot, const std::wstring& stem);
    // Waits for the captures still being written and tells what could not be (everything that
    // reads the capture files calls it first).
    void FinishSaves();

    // Polled by the tick.
    void LoadOCRText();
    void DetectCreatedVideo();

  protected:
    void applyDpi() override;

  private:
    void buildLayout();
    void buildTray();
    void buildOptionMenus();
    void convertToTextOnce();
    void reportSaves(std::vector<SavedFiles> finished);
    Executor& pool_;
    CaptureSaver& saver_;
    RenderQueue& renders_;
    bool ocrRunning_ = false;
    bool ocrAgain_ = false;  // asked for while a picture was being made
    bool exiting_ = false;
    bool altMasked_ = false;  // this selection's ALT release was masked already
    std::array<ui::MenuItem*, 6> setupColumns();

    Platform& platform_;
    TClipForm* ClipForm = nullptr;
};

}  // namespace gs
