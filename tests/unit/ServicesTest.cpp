// The pool and the saver on it when things go wrong: no memory for a task, a save that throws.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "capture/CaptureSaver.h"
#include "platform/Executor.h"

namespace {
// Allocations on this thread fail once this many more have been made (-1: never).
thread_local int gAllocationsLeft = -1;
}  // namespace

void* operator new(std::size_t n) {
    if (gAllocationsLeft == 0) throw std::bad_alloc();
    if (gAllocationsLeft > 0) --gAllocationsLeft;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// The pair is the test's own: what its new took from malloc goes back to free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace gs {
namespace {

TEST(Executor, ForEachDoesTheWorkItselfWhereverQueueingAHelperFails) {
    Executor pool;
    for (int failAt = 0; failAt < 12; ++failAt) {
        std::vector<std::atomic<int>> runs(64);
        gAllocationsLeft = failAt;
        try {
            pool.forEach(64, 4, [&](int i) { ++runs[static_cast<size_t>(i)]; });
        } catch (const std::bad_alloc&) {
            // Only before any work was shared out: then nothing ran.
            gAllocationsLeft = -1;
            for (auto& r : runs) ASSERT_EQ(r.load(), 0) << "failing at allocation " << failAt;
            continue;
        }
        gAllocationsLeft = -1;
        for (auto& r : runs) ASSERT_EQ(r.load(), 1) << "failing at allocation " << failAt;
    }
}

TEST(CaptureSaver, ASaveThatThrowsIsToldAndLeavesTheSaverWorking) {
    Executor pool;
    int calls = 0;
    CaptureSaver saver(pool, [&](const Picture&, const std::wstring& stem, Executor*) {
        if (++calls == 1) throw std::runtime_error("out of memory");
        SavedFiles saved;
        saved.stem = stem;
        saved.picture = saved.jpeg = true;
        return saved;
    });
    auto shot = std::make_shared<const Picture>(Picture(4, 4));
    saver.save(shot, L"first");
    saver.save(shot, L"second");
    const std::vector<SavedFiles> done = saver.finish();  // returns: the saver is not stuck
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].stem, L"first");
    EXPECT_FALSE(done[0].picture || done[0].jpeg) << "told as not saved";
    EXPECT_TRUE(done[1].picture && done[1].jpeg);
    saver.save(shot, L"third");
    EXPECT_EQ(saver.finish().size(), 1u);
}

}  // namespace
}  // namespace gs
