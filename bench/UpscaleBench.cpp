// The OCR input's cost: the enlargement (straight reference vs ours alone and on the pool, in
// Mpixel/s of output), PNG at level 7 (MB/s of raw rows), and the whole of it for a 1600 x 900
// capture enlarged to 16000 x 9000. Portable: runs natively and under Wine.
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

#include "imaging/ImageFiles.h"
#include "imaging/QuickBitmap.h"
#include "platform/Executor.h"
#include "platform/Text.h"
#include "support/ReferenceUpscaler.h"

namespace {
double seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Something like a screen: flat areas, text-like strokes, a gradient.
gs::Picture desktopLike(int w, int h) {
    gs::Picture p(w, h, 0xFFF0F0F0u);
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (y % 18 < 11 && (x / 7 + y / 18) % 5 && rng() % 3 == 0) p.at(x, y) = 0xFF202020u;
            if (x > w * 3 / 4) p.at(x, y) = 0xFF000000u | ((x * 255 / w) << 16) | (y * 255 / h);
        }
    return p;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "upscale-bench.png";
    std::printf("enlargement, Mpixel/s of output (400 x 225 by 10)\n");
    gs::Picture small = desktopLike(400, 225);
    gs::TQuickBitmap src(&small);
    const double mpx = 4000.0 * 2250.0 / 1e6;
    const double ref = seconds([&] { gs::test::ReferenceResize(src, 10, 10); });
    gs::Executor pool;
    const double one = seconds([&] { src.QuickBicubicResize(10, 10); });
    const double two = seconds([&] { src.QuickBicubicResize(10, 10, &pool); });
    std::printf(
        "  reference %.1f, ours 1 thread %.1f (x%.1f), on the pool (%u cores) %.1f (x%.1f)\n",
        mpx / ref, mpx / one, ref / one, gs::Executor::cores(), mpx / two, ref / two);

    std::printf("1600 x 900 -> 16000 x 9000\n");
    gs::Picture capture = desktopLike(1600, 900);
    gs::TQuickBitmap big(&capture);
    std::unique_ptr<gs::TQuickBitmap> enlarged;
    const double up = seconds([&] { enlarged = big.QuickBicubicResize(10, 10, &pool); });
    // Written from the bitmap's rows with filtered matches (as screenshots are written), then
    // as the program writes img1.png: rows enlarged as they are written, run-length matches.
    double png = 0;
    const gs::Picture enlargedPicture = enlarged->GetBitmap();
    for (bool runLength : {false, true}) {
        png = seconds([&] {
            const gs::imaging::RgbRows rows =
                runLength ? big.EnlargedRows(10, 10, &pool) : gs::imaging::RowsOf(enlargedPicture);
            gs::imaging::WritePng(gs::FromUtf8(out), rows, {7, 65535, runLength, &pool});
        });
        std::FILE* f = std::fopen(out.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        const long bytes = std::ftell(f);
        std::fclose(f);
        std::printf("  PNG level 7, %s: %.2f s (%.0f MB/s of rows), %.0f MB\n",
                    runLength ? "enlarged while written, run-length (img1.png)" : "filtered", png,
                    16000.0 * 9000 * 3 / 1e6 / png, bytes / 1e6);
    }
    std::printf("  enlarge whole %.2f s; img1.png as the program makes it %.2f s\n", up, png);
    std::remove(out.c_str());
    return 0;
}
