#pragma once
// In-memory stand-ins for the OS and for the form layer's realisation, for native tests.
#include <atomic>
#include <chrono>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "support/TempDir.h"
#include "ui/Backend.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Tray.h"

namespace gs::test {

class FakePlatform : public Platform {
  public:
    std::map<int, bool> keys;
    Point cursor{};
    std::atomic<uint32_t> ticks{0};  // a test's frame writer may spend time on its own thread
    LocalTime now{2013, 5, 17, 14, 3, 59};
    std::wstring exe = L"D:\\Tools\\Glimmershot.exe";
    struct Box {
        std::wstring text, title;
        unsigned style;
    };
    std::vector<Box> boxes;
    int pumps = 0;

    bool asyncKeyState(int vk) override { return keys[vk]; }
    Point cursorPos() override { return cursor; }
    int altMasks = 0;  // ALT releases masked for the program with the keyboard
    bool maskAltRelease() override {
        ++altMasks;
        return true;
    }
    uint32_t tickCount() override { return ticks; }
    LocalTime localTime() override { return now; }
    void sleep(uint32_t ms) override { ticks += ms; }
    void processMessages() override {
        ++pumps;
        if (onPump) onPump();
    }
    std::wstring exePath() override { return exe; }
    std::wstring lowerCase(std::wstring text) override {
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
        return text;
    }
    // The screen: a picture whose top-left pixel sits at `screenOrigin`.
    Picture screen;
    Point screenOrigin{};
    int screenCopies = 0;
    int flushes = 0;
    void flushComposition() override { ++flushes; }
    bool copyScreen(const Rect& area, Picture& out) override {
        ++screenCopies;
        out = Picture(area.width(), area.height(), 0xFF000000u);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                const int sx = area.Left + x - screenOrigin.x, sy = area.Top + y - screenOrigin.y;
                if (sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height)
                    out.at(x, y) = screen.at(sx, sy);
            }
        return true;
    }
    // Nearest-neighbour stand-in for the halftone stretch; records where it drew.
    std::vector<Rect> stretches;
    void stretchHalftone(const Picture& src, Picture& dst, const Rect& to) override {
        stretches.push_back(to);
        for (int y = std::max(0, to.Top); y < std::min(dst.height, to.Bottom); ++y)
            for (int x = std::max(0, to.Left); x < std::min(dst.width, to.Right); ++x)
                dst.at(x, y) = src.at((x - to.Left) * src.width / to.width(),
                                      (y - to.Top) * src.height / to.height());
    }
    // Recording: the grabber copies from `screen` and advances the clock by `grabTicks`;
    // the grabs numbered in `failingGrabs` (from 1) read nothing and leave the frame alone.
    uint32_t grabTicks = 0;
    std::set<int> failingGrabs;
    bool noGrabber = false;
    int grabs = 0;
    std::unique_ptr<ScreenGrabber> screenGrabber(int, int) override {
        struct G : ScreenGrabber {
            explicit G(FakePlatform& p) : p(p) {}
            FakePlatform& p;
            bool grab(Point at, Picture& frame) override {
                p.ticks += p.grabTicks;
                const bool fails = p.failingGrabs.count(++p.grabs) > 0;
                if (!fails) {
                    Picture area;
                    p.copyScreen(Rect{at.x, at.y, at.x + frame.width, at.y + frame.height}, area);
                    --p.screenCopies;
                    frame.pixels = area.pixels;
                }
                if (p.onGrab) p.onGrab();
                return !fails;
            }
        };
        if (noGrabber) return nullptr;
        return std::make_unique<G>(*this);
    }
    std::function<void()> onGrab;  // e.g. stops a recording after some frames
    std::function<void()> onPump;
    std::vector<std::wstring> clipboardText;
    bool setClipboardText(NativeWindow, const std::wstring& text) override {
        if (clipboardBusy) return false;
        clipboardText.push_back(text);
        return true;
    }
    uint16_t globalAddAtom(const std::wstring&) override { return 0xC123; }
    void globalDeleteAtom(uint16_t) override {}
    std::vector<std::pair<int, unsigned>> hotKeys;  // registered (id, vk)
    bool registerHotKey(NativeWindow, int id, unsigned, unsigned vk) override {
        hotKeys.push_back({id, vk});
        return true;
    }
    int unregistered = 0;
    void unregisterHotKey(NativeWindow, int) override { ++unregistered; }
    // The encoder: records its calls; a test decides what it does.
    std::vector<std::pair<std::wstring, std::wstring>> processes;
    std::function<std::optional<uint32_t>(const std::wstring&)> encoder;
    // An encoder that runs this long (real time) unless it is no longer waited for.
    std::chrono::milliseconds encoderRuns{0};
    std::optional<uint32_t> runAndWait(const std::wstring& app, const std::wstring& line,
                                       const std::function<bool()>& keepWaiting) override {
        processes.push_back({app, line});
        for (auto end = std::chrono::steady_clock::now() + encoderRuns;
             std::chrono::steady_clock::now() < end;
             std::this_thread::sleep_for(std::chrono::milliseconds(5)))
            if (!keepWaiting()) return std::nullopt;
        return encoder ? encoder(line) : std::nullopt;
    }
    std::vector<std::pair<std::wstring, std::wstring>> copies;
    bool copyFile(const std::wstring& from, const std::wstring& to) override {
        copies.push_back({from, to});
        std::error_code ec;
        std::filesystem::copy_file(HostPath(from), HostPath(to),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        return !ec;
    }
    std::set<std::wstring> heldForWriting;  // files another program is still writing
    std::optional<std::string> readFinishedFile(const std::wstring& path) override {
        if (heldForWriting.count(path)) return std::nullopt;
        if (!std::filesystem::is_regular_file(HostPath(path))) return std::nullopt;
        return ReadBytes(HostPath(path));
    }
    int64_t fileSize(const std::wstring& path) override {
        std::error_code ec;
        auto n = std::filesystem::file_size(HostPath(path), ec);
        return ec ? -1 : static_cast<int64_t>(n);
    }
    bool clipboardBusy = false;
    std::vector<Picture> clipboard;
    PngSource clipboardPng;  // the "PNG" format last offered
    bool setClipboardBitmap(const Picture& bitmap, PngSource png) override {
        if (clipboardBusy) return false;
        clipboard.push_back(bitmap);
        clipboardPng = std::move(png);
        return true;
    }
    struct Ring {
        NativeWindow window;
        Rect outer, hole;
        bool hasExtra;
        Rect extra;
    };
    std::vector<Ring> rings;
    std::uintptr_t setWindowRing(NativeWindow w, const Rect& outer, const Rect& hole,
                                 const Rect* extra) override {
        rings.push_back({w, outer, hole, extra != nullptr, extra ? *extra : Rect{}});
        return rings.size();
    }
    // Folders are made for real (under a test's temporary folder) unless listed as failing.
    std::vector<std::wstring> createdDirs;
    std::set<std::wstring> failingDirs;
    bool createDirectoryTree(const std::wstring& path) override {
        createdDirs.push_back(path);
        if (failingDirs.count(path)) return false;
        std::error_code ec;
        std::filesystem::create_directories(HostPath(path), ec);
        return !ec;
    }
    std::vector<std::wstring> deletes;
    void deleteFiles(const std::wstring& wildcard) override {
        deletes.push_back(wildcard);
        const std::filesystem::path dir = std::filesystem::path(HostPath(wildcard)).parent_path();
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(dir, ec))
            if (e.is_regular_file()) std::filesystem::remove(e.path(), ec);
    }
    bool fileExists(const std::wstring& path) override {
        return std::filesystem::is_regular_file(HostPath(path));
    }
    bool failReplace = false;
    bool replaceFile(const std::wstring& from, const std::wstring& to) override {
        std::error_code ec;
        if (!failReplace) std::filesystem::rename(HostPath(from), HostPath(to), ec);
        return !failReplace && !ec;
    }
    bool deleteFile(const std::wstring& path) override {
        std::error_code ec;
        return std::filesystem::remove(HostPath(path), ec);
    }
    struct Shell {
        NativeWindow owner;
        std::wstring verb, file, parameters, directory;
        int show;
    };
    std::vector<Shell> shell;
    std::intptr_t shellExecute(NativeWindow owner, const std::wstring& verb,
                               const std::wstring& file, const std::wstring& parameters,
                               const std::wstring& directory, int show) override {
        shell.push_back({owner, verb, file, parameters, directory, show});
        return 42;
    }
    // The registry: key -> (name -> data).
    std::map<std::wstring, std::map<std::wstring, std::wstring>> registry;
    bool failCreateKey = false, failSetValue = false, keyWontOpen = false;
    bool regCreateKey(const std::wstring& key) override {
        if (failCreateKey) return false;
        registry[key];
        return true;
    }
    RegWrite regSetString(const std::wstring& key, const std::wstring& name,
                          const std::wstring& data) override {
        if (keyWontOpen || !registry.count(key)) return RegWrite::KeyNotOpened;
        if (failSetValue) return RegWrite::Failed;
        registry[key][name] = data;
        return RegWrite::Written;
    }
    void regDeleteValue(const std::wstring& key, const std::wstring& name) override {
        if (registry.count(key)) registry[key].erase(name);
    }
    int messageBox(NativeWindow, const std::wstring& text, const std::wstring& title,
                   unsigned style) override {
        boxes.push_back({text, title, style});
        return 1;
    }
};

struct FakeFormPeer : ui::FormPeer {
    explicit FakeFormPeer(ui::Form& f) : form(f) {}
    ui::Form& form;
    int toFront = 0, invalidations = 0, layouts = 0;
    bool closed = false;
    NativeWindow handle() const override { return reinterpret_cast<NativeWindow>(this); }
    void visibilityChanged() override {}
    void boundsChanged() override {}
    void alphaChanged() override {}
    void windowStateChanged() override {}
    void stayOnTopChanged() override {}
    void bringToFront() override { ++toFront; }
    void invalidate(const Rect&) override { ++invalidations; }
    void close() override { closed = true; }
    void layoutChanged() override { ++layouts; }
};

class FakeBackend : public ui::Backend {
  public:
    std::vector<ui::Timer*> timers;
    std::vector<ui::TrayIcon*> trays;
    struct Balloon {
        std::wstring text, title;
        int timeout;
        bool unasked;
    };
    std::vector<Balloon> balloons;
    // The next popup menu picks the entry with this name (empty: dismissed).
    std::wstring nextChoice;
    std::vector<Point> popupsAt;
    // Every monitor's scale, or one for the areas inside `otherMonitor`.
    int dpi = 96;
    Rect otherMonitor{};
    int otherDpi = 96;

    std::unique_ptr<ui::FormPeer> createFormPeer(ui::Form& f) override {
        return std::make_unique<FakeFormPeer>(f);
    }
    std::unique_ptr<ui::TimerPeer> createTimerPeer(ui::Timer& t) override {
        timers.push_back(&t);
        struct P : ui::TimerPeer {
            void update() override {}
        };
        return std::make_unique<P>();
    }
    std::unique_ptr<ui::TrayPeer> createTrayPeer(ui::TrayIcon& t) override;
    int dpiAt(const Rect& area) override {
        return otherMonitor.contains(Point{area.Left, area.Top}) ? otherDpi : dpi;
    }
    ui::MenuItem* trackPopupMenu(ui::PopupMenu& menu, Point at) override {
        popupsAt.push_back(at);
        for (ui::MenuItem* item : menu.Items())
            if (item->Name() == nextChoice) return item;
        return nullptr;
    }
};

inline std::unique_ptr<ui::TrayPeer> FakeBackend::createTrayPeer(ui::TrayIcon& t) {
    trays.push_back(&t);
    struct P : ui::TrayPeer {
        P(FakeBackend& b, ui::TrayIcon& t) : backend(b), tray(t) {}
        FakeBackend& backend;
        ui::TrayIcon& tray;
        void update() override {}
        void showBalloon() override {
            backend.balloons.push_back(
                {tray.BalloonHint, tray.BalloonTitle, tray.BalloonTimeout, tray.BalloonUnasked});
        }
    };
    return std::make_unique<P>(*this, t);
}

}  // namespace gs::test
