#include "tools/tesseract/ScreenText.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <cwctype>
#include <memory>

#include "imaging/QuickBitmap.h"

namespace gs::tools {

namespace {

// Rows read before the factor is known are kept up to this much, then the best guess is taken.
constexpr size_t kPendingBytes = size_t{96} << 20;

bool oneColour(const uint8_t* rgb, int n, int step) {
    for (int x = step; x < n; x += step)
        if (std::memcmp(rgb, rgb + 3 * static_cast<size_t>(x), 3) != 0) return false;
    return true;
}

}  // namespace

CaptureFromEnlargement::CaptureFromEnlargement(int width, int height)
    : width_(width), height_(height) {
    for (int f = 10; f >= 2; --f)
        if (width % f == 0 && height % f == 0 && OcrFactor(width / f, height / f) == f)
            candidates_.push_back({f, LagrangeWeights(f)});
    if (candidates_.empty()) factor_ = 1;
}

void CaptureFromEnlargement::check(const uint8_t* rgb, int y) {
    for (Candidate& c : candidates_) {
        if (!c.alive || y % c.factor != 0 || oneColour(rgb, width_, c.factor)) continue;
        // The capture's own pixels of the row, enlarged as the program enlarges them, must be
        // the row itself.
        const int n = width_ / c.factor;
        std::vector<uint8_t> samples(static_cast<size_t>(n) * 3),
            enlarged(samples.size() * c.factor);
        for (int x = 0; x < n; ++x)
            std::memcpy(&samples[3 * static_cast<size_t>(x)],
                        rgb + 3 * static_cast<size_t>(x) * c.factor, 3);
        EnlargeRow(samples.data(), n, c.factor, c.weights, enlarged.data());
        if (std::memcmp(enlarged.data(), rgb, enlarged.size()) == 0)
            ++c.proofs;
        else
            c.alive = false;
    }
}

bool CaptureFromEnlargement::decide(bool atEnd) {
    // The largest factor that has proved itself twice, once no larger one is still open. At the
    // end, one proof will do; with none at all, the largest the picture has not refuted.
    for (const Candidate& c : candidates_) {
        if (!c.alive) continue;
        if (c.proofs >= 2 || (atEnd && c.proofs >= 1)) {
            factor_ = c.factor;
            return true;
        }
        if (!atEnd) return false;
    }
    if (!atEnd) return false;
    const auto alive = std::find_if(candidates_.begin(), candidates_.end(),
                                    [](const Candidate& c) { return c.alive; });
    factor_ = alive == candidates_.end() ? 1 : alive->factor;
    return true;
}

void CaptureFromEnlargement::keep(const uint8_t* rgb, int y) {
    if (y % factor_ != 0) return;
    capture_.width = width_ / factor_;
    capture_.height = height_ / factor_;
    for (int x = 0; x < capture_.width; ++x)
        capture_.pixels.insert(capture_.pixels.end(), rgb + 3 * static_cast<size_t>(x) * factor_,
                               rgb + 3 * static_cast<size_t>(x) * factor_ + 3);
}

void CaptureFromEnlargement::addRow(const uint8_t* rgb) {
    const int y = y_++;
    if (factor_) return keep(rgb, y);
    check(rgb, y);
    pending_.emplace_back(rgb, rgb + 3 * static_cast<size_t>(width_));
    if (decide(false) || pending_.size() * width_ * 3 >= kPendingBytes) {
        if (!factor_) decide(true);
        for (size_t i = 0; i < pending_.size(); ++i) keep(pending_[i].data(), static_cast<int>(i));
        pending_.clear();
        pending_.shrink_to_fit();
    }
}

RgbImage CaptureFromEnlargement::finish() {
    if (!factor_) {
        decide(true);
        for (size_t i = 0; i < pending_.size(); ++i) keep(pending_[i].data(), static_cast<int>(i));
        pending_.clear();
    }
    return std::move(capture_);
}

void ScaleInto(const GreyImage& from, double sx, double sy, int width, int height, GreyImage& to,
               int left, int top) {
    if (from.width <= 0 || from.height <= 0) return;
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, from.width - 1);
        y = std::clamp(y, 0, from.height - 1);
        return static_cast<double>(from.pixels[static_cast<size_t>(y) * from.width + x]);
    };
    for (int Y = 0; Y < height && top + Y < to.height; ++Y) {
        const double v = (Y + 0.5) / sy - 0.5;
        const int y = static_cast<int>(std::floor(v));
        const double fy = v - y;
        for (int X = 0; X < width && left + X < to.width; ++X) {
            const double u = (X + 0.5) / sx - 0.5;
            const int x = static_cast<int>(std::floor(u));
            const double fx = u - x;
            const double value = (1 - fy) * ((1 - fx) * at(x, y) + fx * at(x + 1, y)) +
                                 fy * ((1 - fx) * at(x, y + 1) + fx * at(x + 1, y + 1));
            to.pixels[static_cast<size_t>(top + Y) * to.width + left + X] =
                static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
        }
    }
}

GreyImage PrepareForRecognition(const RgbImage& capture, int border) {
    const int w = capture.width, h = capture.height;
    std::vector<uint8_t> grey(static_cast<size_t>(w) * h);
    std::array<size_t, 256> histogram{};
    for (size_t i = 0; i < grey.size(); ++i) {
        const uint8_t* p = &capture.pixels[3 * i];
        grey[i] = static_cast<uint8_t>((299 * p[0] + 587 * p[1] + 114 * p[2] + 500) / 1000);
        ++histogram[grey[i]];
    }
    int median = 0;
    for (size_t seen = 0; median < 255; ++median) {
        seen += histogram[static_cast<size_t>(median)];
        if (seen * 2 >= grey.size()) break;
    }
    // The engine reads dark text on a light ground; a dark scheme's median is its background.
    const bool invert = median < 128;
    if (invert)
        for (uint8_t& g : grey) g = static_cast<uint8_t>(255 - g);
    const uint8_t background = static_cast<uint8_t>(invert ? 255 - median : median);

    // Twice the size, or the most that keeps the picture within kMostPixels:
    // (w s + 2 border) (h s + 2 border) = kMostPixels solved for s.
    const double wh = static_cast<double>(w) * h, b = border, sides = b * (w + h);
    const double most = (std::sqrt(sides * sides + wh * (kMostPixels - 4 * b * b)) - sides) / wh;
    const double scale = std::min(2.0, most);
    GreyImage out;
    const int width = std::max(0, static_cast<int>(w * scale)),
              height = std::max(0, static_cast<int>(h * scale));
    out.width = width + 2 * border;
    out.height = height + 2 * border;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height, background);
    ScaleInto(GreyImage{w, h, std::move(grey)}, static_cast<double>(width) / w,
              static_cast<double>(height) / h, width, height, out, border, border);
    return out;
}

RgbImage CaptureFromPng(std::FILE* file, int* factor) {
    // Quiet: a file that is not a PNG is told by the empty result.
    png_structp png = png_create_read_struct(
        PNG_LIBPNG_VER_STRING, nullptr, [](png_structp p, png_const_charp) { png_longjmp(p, 1); },
        [](png_structp, png_const_charp) {});
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return {};
    }
    // Everything with a destructor lives outside the jump's reach.
    std::unique_ptr<CaptureFromEnlargement> capture;
    std::vector<uint8_t> row;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return {};
    }
    png_init_io(png, file);
    // Refused from its header, before a row is allocated: the program writes nothing larger.
    png_set_user_limits(png, kOcrLargestSide, kOcrLargestSide);
    png_read_info(png, info);
    // Whatever the file holds, rows arrive as 8-bit RGB.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info),
                      height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 3 ||
        png_get_interlace_type(png, info) != PNG_INTERLACE_NONE || width > 0x7FFFFFFF ||
        height > 0x7FFFFFFF)
        png_error(png, "unsupported layout");
    capture =
        std::make_unique<CaptureFromEnlargement>(static_cast<int>(width), static_cast<int>(height));
    row.resize(size_t{width} * 3);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        capture->addRow(row.data());
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    RgbImage result = capture->finish();
    if (factor) *factor = capture->factor();
    return result;
}

std::wstring RelativePath(const std::wstring& folder, const std::wstring& path) {
    auto parts = [](const std::wstring& p) {
        std::vector<std::wstring> out;
        for (size_t at = 0; at <= p.size();) {
            const size_t end = std::min(p.find_first_of(L"\\/", at), p.size());
            if (end > at) out.push_back(p.substr(at, end - at));
            at = end + 1;
        }
        return out;
    };
    auto same = [](const std::wstring& a, const std::wstring& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
                   return std::towlower(x) == std::towlower(y);
               });
    };
    const std::vector<std::wstring> from = parts(folder), to = parts(path);
    if (from.empty() || to.empty() || !same(from[0], to[0])) return path;
    size_t common = 0;
    while (common < from.size() && common < to.size() && same(from[common], to[common])) ++common;
    std::wstring out;
    for (size_t i = common; i < from.size(); ++i) out += L"..\\";
    for (size_t i = common; i < to.size(); ++i) out += to[i] + (i + 1 < to.size() ? L"\\" : L"");
    if (out.empty()) return L".";
    if (out.back() == L'\\') out.pop_back();
    return out;
}

std::wstring EngineLanguages(const std::wstring& language) {
    if (language.empty() || language == L"eng" || language.find(L'+') != std::wstring::npos)
        return language;
    return language + L"+eng";
}

std::string Pgm(const GreyImage& image) {
    std::string out =
        "P5\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    out.append(image.pixels.begin(), image.pixels.end());
    return out;
}

}  // namespace gs::tools
