// The Win32 platform services the capture relies on, exercised for real under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/win32/Win32Platform.h"
#include "support/GdiObjects.h"

namespace gs {
namespace {

int liveGdiObjects(bool regionsOnly = false) {
    const test::GdiCount c = test::CountGdiObjects(GetCurrentProcess());
    return regionsOnly ? c.regions : c.total;
}
constexpr bool kRegions = true;

class Win32Platform : public testing::Test {
  protected:
    win32::Win32Platform platform;
    HWND window = CreateWindowExW(0, L"STATIC", L"t", WS_POPUP, 10, 10, 120, 80, nullptr, nullptr,
                                  nullptr, nullptr);
    ~Win32Platform() override { DestroyWindow(window); }
    NativeWindow handle() const { return reinterpret_cast<NativeWindow>(window); }
};

TEST_F(Win32Platform, RingRegionIsExactAndNeverLeaks) {
    ASSERT_GT(liveGdiObjects(), 0) << "the handle table must be readable";
    const Rect outer{0, 0, 120, 80}, hole{2, 2, 118, 78};
    ASSERT_NE(platform.setWindowRing(handle(), outer, hole, nullptr), 0u);
    const int regions = liveGdiObjects(kRegions);
    for (int i = 0; i < 500; ++i) platform.setWindowRing(handle(), outer, hole, nullptr);
    EXPECT_LE(liveGdiObjects(kRegions), regions + 1);

    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, rgn), ERROR);
    EXPECT_TRUE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 1, 40));
    EXPECT_FALSE(PtInRegion(rgn, 2, 2));
    EXPECT_FALSE(PtInRegion(rgn, 117, 77));
    EXPECT_TRUE(PtInRegion(rgn, 118, 77));
    DeleteObject(rgn);

    // A region the window refuses stays ours, and is freed.
    const int before = liveGdiObjects(kRegions);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(platform.setWindowRing(NativeWindow{0xDEAD0}, outer, hole, nullptr), 0u);
    EXPECT_LE(liveGdiObjects(kRegions), before);
}

TEST_F(Win32Platform, RingPlusPanel) {
    const Rect extra{2, 2, 40, 30};
    ASSERT_NE(platform.setWindowRing(handle(), Rect{0, 0, 120, 80}, Rect{2, 2, 118, 78}, &extra),
              0u);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, rgn);
    EXPECT_TRUE(PtInRegion(rgn, 20, 20));
    EXPECT_FALSE(PtInRegion(rgn, 60, 40));
    DeleteObject(rgn);
}

Picture sample(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.at(x, y) = 0xFF000000u | (x * 9 << 16) | (y * 7 << 8) | (x ^ y);
    return p;
}

bool clipboardDib(int& w, int& h, uint32_t& firstPixel) {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE d = GetClipboardData(CF_DIB);
    bool ok = false;
    if (d) {
        const auto* bih = static_cast<const BITMAPINFOHEADER*>(GlobalLock(d));
        w = bih->biWidth;
        h = bih->biHeight;
        const auto* bits = reinterpret_cast<const uint8_t*>(bih + 1);
        const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
        const uint8_t* top = bits + stride * static_cast<size_t>(h - 1);  // bottom-up
        firstPixel = 0xFF000000u | (top[2] << 16) | (top[1] << 8) | top[0];
        GlobalUnlock(d);
        ok = IsClipboardFormatAvailable(CF_BITMAP) != FALSE;
    }
    CloseClipboard();
    return ok;
}

TEST_F(Win32Platform, ClipboardBitmapWaitsBrieflyForAnotherHolder) {
    const Picture pic = sample(33, 17);
    int pngAsked = 0;
    ASSERT_TRUE(platform.setClipboardBitmap(pic, [&]() -> std::optional<std::string> {
        ++pngAsked;
        return std::string("\x89PNG bytes", 10);
    }));
    EXPECT_EQ(pngAsked, 0) << "made only when a reader asks";
    int w = 0, h = 0;
    uint32_t px = 0;
    ASSERT_TRUE(clipboardDib(w, h, px)) << "the bitmap form is offered as well";
    EXPECT_EQ(w, 33);
    EXPECT_EQ(h, 17);
    EXPECT_EQ(px, pic.at(0, 0));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE png = GetClipboardData(RegisterClipboardFormatW(L"PNG"));
    ASSERT_TRUE(png);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(png)), GlobalSize(png)),
              std::string("\x89PNG bytes", 10));
    GlobalUnlock(png);
    CloseClipboard();
    EXPECT_EQ(pngAsked, 1);

    // Held by someone else for 200 ms: the capture still gets it.
    // The holder says when it has the clipboard, so a busy machine cannot reorder the two.
    HANDLE holding = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    auto hold = [holding](DWORD ms) {
        std::thread t([ms, holding] {
            HWND other = CreateWindowExW(0, L"STATIC", L"o", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr);
            OpenClipboard(other);
            SetEvent(holding);
            Sleep(ms);
            CloseClipboard();
            DestroyWindow(other);
        });
        WaitForSingleObject(holding, 10000);
        return t;
    };
    std::thread holder = hold(200);
    EXPECT_TRUE(platform.setClipboardBitmap(sample(8, 8), nullptr));
    holder.join();

    // Held for two seconds: it gives up after about half a second.
    holder = hold(2000);
    const DWORD t0 = GetTickCount();
    EXPECT_FALSE(platform.setClipboardBitmap(sample(8, 8), nullptr));
    EXPECT_LT(GetTickCount() - t0, 1500u);
    holder.join();
    CloseHandle(holding);
}

TEST_F(Win32Platform, AFileIsReadOnlyOnceNoOneWritesIt) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"gs result Jiří.txt";
    // Opened as a C runtime's fopen opens it: others may read and write meanwhile.
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(writer, "abc\n", 4, &n, nullptr);
    EXPECT_FALSE(platform.readFinishedFile(path)) << "still being written";
    CloseHandle(writer);
    EXPECT_EQ(platform.readFinishedFile(path), std::optional<std::string>("abc\n"));
    DeleteFileW(path.c_str());
    EXPECT_FALSE(platform.readFinishedFile(path)) << "missing";
}

TEST_F(Win32Platform, FoldersWithUnicodeNamesAndWildcardDeletes) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"gs win32 Jiří";
    const std::wstring deep = root + L"\\Data\\Published\\img";
    ASSERT_TRUE(platform.createDirectoryTree(deep));
    EXPECT_TRUE(platform.createDirectoryTree(deep)) << "an existing folder is success";
    for (const wchar_t* n : {L"\\a.png", L"\\b č.jpg"}) {
        HANDLE f =
            CreateFileW((deep + n).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        CloseHandle(f);
    }
    CreateDirectoryW((deep + L"\\sub").c_str(), nullptr);
    platform.deleteFiles(deep + L"\\*.*");
    EXPECT_EQ(GetFileAttributesW((deep + L"\\a.png").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((deep + L"\\b č.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((deep + L"\\sub").c_str()), INVALID_FILE_ATTRIBUTES)
        << "folders stay";
    platform.deleteFiles(root + L"\\missing\\*.*");  // silent

    // A file where a folder should be: failure is reported.
    HANDLE f = CreateFileW((root + L"\\file").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    CloseHandle(f);
    EXPECT_FALSE(platform.createDirectoryTree(root + L"\\file\\below"));
}

TEST_F(Win32Platform, RegistryStringValuesUnderTheCurrentUser) {
    const std::wstring key = L"\\Software\\GlimmershotTest\\Run";
    EXPECT_EQ(platform.regSetString(key, L"v", L"x"), Platform::RegWrite::KeyNotOpened);
    ASSERT_TRUE(platform.regCreateKey(key));
    ASSERT_TRUE(platform.regCreateKey(key)) << "an existing key is fine";
    EXPECT_EQ(platform.regSetString(key, L"Glimmershot", L"\"C:\\a b\\Glimmershot.exe\""),
              Platform::RegWrite::Written);
    wchar_t data[256] = L"";
    DWORD size = sizeof(data), type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\GlimmershotTest\\Run", L"Glimmershot",
                           RRF_RT_ANY, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, L"\"C:\\a b\\Glimmershot.exe\"");
    platform.regDeleteValue(key, L"Glimmershot");
    platform.regDeleteValue(key, L"Glimmershot");  // missing: ignored
    EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, L"Software\\GlimmershotTest\\Run", L"Glimmershot",
                           RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\GlimmershotTest");
}

TEST_F(Win32Platform, ReplaceFileIsAtomicAndSparesReadOnlyFiles) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"gs replace";
    CreateDirectoryW(dir.c_str(), nullptr);
    auto write = [](const std::wstring& p, const char* text) {
        HANDLE f = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(f, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
        CloseHandle(f);
    };
    const std::wstring target = dir + L"\\setup.csv", temp2 = target + L".tmp";
    write(target, "old");
    write(temp2, "new");
    EXPECT_TRUE(platform.replaceFile(temp2, target));
    EXPECT_FALSE(platform.fileExists(temp2));
    EXPECT_TRUE(platform.fileExists(target));
    EXPECT_FALSE(platform.fileExists(dir)) << "a folder is not a file";

    write(temp2, "newer");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(platform.replaceFile(temp2, target));
    EXPECT_TRUE(platform.deleteFile(temp2));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target.c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST_F(Win32Platform, ScreenCopyAndHalftoneStretch) {
    Picture shot;
    ASSERT_TRUE(platform.copyScreen(Rect{5, 5, 45, 25}, shot));
    EXPECT_EQ(shot.width, 40);
    EXPECT_EQ(shot.height, 20);
    EXPECT_FALSE(platform.copyScreen(Rect{5, 5, 5, 25}, shot));

    Picture src(4, 2, 0xFFFFFFFFu), dst(10, 10, 0xFF000000u);
    platform.stretchHalftone(src, dst, Rect{0, 3, 10, 8});
    EXPECT_EQ(dst.at(5, 1), 0xFF000000u) << "outside the target stays black";
    EXPECT_EQ(dst.at(5, 5), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace gs
