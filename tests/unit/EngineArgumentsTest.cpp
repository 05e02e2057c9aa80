// What ff.exe hands the engine for the program's command lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "imaging/ImageFiles.h"
#include "support/TempDir.h"
#include "tools/ff/EngineArguments.h"

namespace gs::tools {
namespace {

using Args = std::vector<std::wstring>;

// The program's line for one format, as CommandLineToArgvW splits it.
Args programLine(const Args& codec, const wchar_t* qscale, const wchar_t* out) {
    Args a = {L"-r",     L"12", L"-f",
              L"image2", L"-i", L"C:\\Glimmer shot\\Data\\Temp\\Video\\%06d.png",
              L"-y"};
    a.insert(a.end(), codec.begin(), codec.end());
    a.insert(a.end(), {L"-qscale", qscale, L"-r", L"12", out});
    return a;
}

Args withPrefix(Args a) {
    a.insert(a.begin(), {L"-hide_banner", L"-nostdin", L"-nostats"});
    return a;
}

TEST(EngineArguments, OddFramesArePaddedOnceByRepeatingTheEdgeAndNothingIsDropped) {
    const Args wmv = programLine({L"-vcodec", L"wmv2"}, L"5", L"C:\\v\\a.wmv");
    Args want = withPrefix(wmv);
    want.insert(want.end() - 1,
                {L"-vf", L"pad=202:152:0:0,fillborders=right=1:bottom=1:mode=smear"});
    const Args once = EngineArguments(wmv, FrameSize{201, 151});
    EXPECT_EQ(once, want);
    EXPECT_EQ(std::count(once.begin(), once.end(), L"-vf"), 1);
    const Args twice = EngineArguments(once, FrameSize{201, 151});
    EXPECT_EQ(std::count(twice.begin(), twice.end(), L"-vf"), 1)
        << "a caller's filter is never doubled";

    EXPECT_EQ(EngineArguments(wmv, FrameSize{202, 152}), withPrefix(wmv))
        << "even frames pass unchanged";
    EXPECT_EQ(EngineArguments(wmv, std::nullopt), withPrefix(wmv)) << "no frame to measure";
    const Args tall = EngineArguments(wmv, FrameSize{154, 115});
    EXPECT_NE(
        std::find(tall.begin(), tall.end(), L"pad=154:116:0:0,fillborders=bottom=1:mode=smear"),
        tall.end());
}

TEST(EngineArguments, WebmQualityFollowsTheScaleAndMovIsPlayable) {
    auto quantizer = [](const wchar_t* qscale) {
        const Args a = EngineArguments(
            programLine({L"-f", L"webm", L"-vcodec", L"libvpx"}, qscale, L"C:\\v\\a.webm"),
            FrameSize{200, 150});
        const auto at = std::find(a.begin(), a.end(), L"-qmin");
        EXPECT_NE(std::find(a.begin(), a.end(), L"-cpu-used"), a.end());
        EXPECT_EQ(a.back(), L"C:\\v\\a.webm");
        return at == a.end() || at + 3 >= a.end() || at[2] != L"-qmax" || at[3] != at[1]
                   ? -1
                   : std::stoi(at[1]);
    };
    EXPECT_EQ(quantizer(L"5"), 8);
    EXPECT_EQ(quantizer(L"35"), 56);
    EXPECT_EQ(quantizer(L"40"), 63);
    EXPECT_EQ(quantizer(L"2147483647"), 63) << "no overflow on the way";
    EXPECT_LT(quantizer(L"15"), quantizer(L"17"));

    const Args mov = EngineArguments(programLine({}, L"17", L"C:\\v\\a.MOV"), FrameSize{200, 150});
    EXPECT_EQ(Args(mov.end() - 3, mov.end()), (Args{L"-pix_fmt", L"yuv420p", L"C:\\v\\a.MOV"}));
    const Args mp4 = EngineArguments(programLine({L"-vcodec", L"mpeg4"}, L"17", L"C:\\v\\a.mp4"),
                                     FrameSize{200, 150});
    EXPECT_EQ(mp4, withPrefix(programLine({L"-vcodec", L"mpeg4"}, L"17", L"C:\\v\\a.mp4")));
}

TEST(EngineArguments, FirstFrameAndItsSize) {
    EXPECT_EQ(FirstFrameFile(programLine({}, L"5", L"o.mov")),
              L"C:\\Glimmer shot\\Data\\Temp\\Video\\000000.png");
    EXPECT_EQ(FirstFrameFile({L"-i", L"f%d.png"}), L"f0.png");
    EXPECT_EQ(FirstFrameFile({L"-i", L"one.png"}), L"one.png");
    EXPECT_EQ(FirstFrameFile({L"-y", L"out.wmv"}), L"");
    EXPECT_EQ(FirstFrameFile({L"-i", L"f%123456789012345678901d.png"}),
              L"f%123456789012345678901d.png");
    // A folder named with "%": the frames are found, and the engine is told it is no number.
    const Args percent = {L"-i", L"C:\\100% sure\\%d\\%06d.png", L"-y", L"C:\\v\\a.wmv"};
    EXPECT_EQ(FirstFrameFile(percent), L"C:\\100% sure\\%d\\000000.png");
    EXPECT_EQ(EngineArguments(percent, FrameSize{200, 150})[4], L"C:\\100%% sure\\%%d\\%06d.png");

    test::TempDir dir;
    imaging::WritePng(dir.file("000000.png"), Picture(201, 151), {1, 65535});
    std::ifstream in(dir.path / "000000.png", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(PngFrameSize(bytes.str().substr(0, 24))->width, 201);
    EXPECT_EQ(PngFrameSize(bytes.str().substr(0, 24))->height, 151);
    EXPECT_FALSE(PngFrameSize(bytes.str().substr(0, 23)));
    EXPECT_FALSE(PngFrameSize(std::string(24, 'x')));
}

TEST(EngineArguments, TheTimeLimitGrowsWithTheWorkAndStaysFinite) {
    EXPECT_EQ(RenderTimeLimitMs(0, {1920, 1080}), 60000u);
    EXPECT_LT(RenderTimeLimitMs(100, {160, 120}), RenderTimeLimitMs(100, {1920, 1080}));
    EXPECT_LT(RenderTimeLimitMs(100, {1920, 1080}), RenderTimeLimitMs(1000, {1920, 1080}));
    EXPECT_LT(RenderTimeLimitMs(1000000, {7680, 4320}), 0xFFFFFFFFu) << "never INFINITE";
}

}  // namespace
}  // namespace gs::tools
