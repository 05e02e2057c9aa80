#pragma once
// How tesseract.exe prepares the program's picture for the recognition engine. The program
// hands over the capture enlarged by a whole factor (up to 10) with an exact cubic
// interpolation; the engine reads screen text best from a grey picture at twice the capture's
// size, dark text on light, with a margin. Portable, so the steps are tested natively.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/QuickBitmap.h"

namespace gs::tools {

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // R, G, B per pixel, rows top down
};

struct GreyImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

// Takes the enlarged picture's rows one at a time, finds the factor it was enlarged by, and
// keeps only the capture's own pixels: its memory stays near the capture's size (plus the
// rows read before the factor is known, a few dozen in practice).
//
// The factor is the largest one (at most 10, dividing both sides, and the one the program
// would pick for the capture's size) for which the rows that fall on the capture's pixels are
// exactly the cubic enlargement of every factor-th pixel. Rows of one colour prove nothing
// and are passed over; a picture that proves no factor is taken as it is (factor 1).
class CaptureFromEnlargement {
  public:
    CaptureFromEnlargement(int width, int height);
    void addRow(const uint8_t* rgb);
    // After the last row: the capture, and the factor found.
    RgbImage finish();
    int factor() const { return factor_; }

  private:
    struct Candidate {
        int factor;
        std::vector<TLagrangePolynom> weights;
        bool alive = true;
        int proofs = 0;  // rows with detail that matched
    };
    void check(const uint8_t* rgb, int y);
    bool decide(bool atEnd);
    void keep(const uint8_t* rgb, int y);

    int width_, height_, y_ = 0, factor_ = 0;
    std::vector<Candidate> candidates_;          // largest first
    std::vector<std::vector<uint8_t>> pending_;  // rows read before the factor was known
    RgbImage capture_;
};

// Reads the program's picture from a PNG file and gives back the capture it was enlarged from
// (and the factor); an empty image when the file is not a PNG that can be read, or one with a
// side longer than the program writes (kOcrLargestSide).
RgbImage CaptureFromPng(std::FILE* file, int* factor = nullptr);

// The most pixels a picture handed to the engine has (its margins included): its time and
// memory grow with the picture, and a capture of a large screen enlarged as a small one's
// would take minutes and gigabytes.
inline constexpr double kMostPixels = 40e6;

// Grey (ITU-R 601 weights), dark text on light (inverted when the median grey is below the
// middle), twice the size (bilinear; less when twice would exceed kMostPixels), framed by
// `border` pixels of the background's grey.
GreyImage PrepareForRecognition(const RgbImage& capture, int border = 10);
// `from` scaled by sx across and sy down (bilinear, pixel centres kept), width x height of it,
// into `to` at (left, top), clipped to `to`: the one scaler of every picture the engine is given.
void ScaleInto(const GreyImage& from, double sx, double sy, int width, int height, GreyImage& to,
               int left, int top);

// `path` as seen from `folder` (both absolute, backslashes or slashes): "..\\x\\y" where they
// share a root, `path` itself where they do not. The engine opens files by narrow names, which
// cannot hold every letter of a folder's name; the part two paths share need not be spelt.
std::wstring RelativePath(const std::wstring& folder, const std::wstring& path);

// The languages the engine reads a capture in: the one asked for, and English beside any other
// (screens in every language show English words: commands, names, code; real set: Russian
// man pages 3.6 to 2.2 % of characters wrong, Czech and German windows 4.8 to 4.6).
std::wstring EngineLanguages(const std::wstring& language);

// A binary PGM (P5) file's bytes, which the engine reads without decompression.
std::string Pgm(const GreyImage& image);

}  // namespace gs::tools
