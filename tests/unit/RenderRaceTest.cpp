// The render job on its own thread against the tick's poll, built with ThreadSanitizer: every
// job's end is seen exactly once, whatever the interleaving.
#include <gtest/gtest.h>

#include <thread>

#include "jobs/VideoRender.h"
#include "support/AppFixture.h"

namespace gs {
namespace {

class RenderRace : public test::AppFixture {};

TEST_F(RenderRace, EveryJobEndsInExactlyOneCompletionBalloon) {
    start();
    platform.encoder = [](const std::wstring&) -> std::optional<uint32_t> { return 3; };
    constexpr int kJobs = 40;
    for (int i = 0; i < kJobs; ++i) {
        form->optRenderVideoUsingRecentConfigurationClick();
        if (i % 3 == 0) std::this_thread::yield();
        form->DetectCreatedVideo();
    }
    // The tick's poll, as fast as it likes, until every job's end was seen (or time runs out).
    // Ends already shown by the polls above count too: on a busy machine jobs finish early.
    auto shownEnds = [&] {
        int n = 0;
        for (const auto& b : backend.balloons)
            n += b.text == L"Video was not rendered. The encoder failed.";
        return n;
    };
    int ends = shownEnds();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ends < kJobs && std::chrono::steady_clock::now() < deadline) {
        form->DetectCreatedVideo();
        ends = shownEnds();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_EQ(ends, kJobs);
    services->renders.waitIdle();
    EXPECT_EQ(shownEnds(), kJobs);
    EXPECT_EQ(VideoRenderState.load(), rsIdle);
    EXPECT_EQ(platform.processes.size(), static_cast<size_t>(kJobs));
}

}  // namespace
}  // namespace gs
