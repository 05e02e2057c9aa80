#pragma once
// The settings file's text: its header, how its last line splits into fields, and how a
// field reads as a number.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gs::settings {

inline constexpr std::string_view kSetupHeader =
    "OpenFolderCheckedItem;EditImageCheckedItem;OCRCheckedItem;VideoCheckedItem;VideoFormat;"
    "VideoQuality";
inline constexpr int kSetupColumns = 6;

// Keeps the last line of a text fed in pieces: lines end at LF or CR LF, and a final line end
// starts no new line. The line is kept whole, however long (blanks may pad it to any length).
class LastLineReader {
  public:
    void feed(std::string_view piece);
    std::string last() const;

  private:
    std::string current_, last_;
    bool pending_ = false;  // bytes after the last line end
};

// Splits at ";" with the quote rules of the file: blanks and control characters before a
// field are skipped, a quoted field runs to its closing quote (two quotes stand for one), an
// unquoted one ends at ";" or at any character of code 32 or less; a ";" that ends the line
// adds one empty field. A NUL ends the line.
std::vector<std::string> SplitSetupLine(std::string_view line);

// A whole decimal number with an optional sign that fits 32 bits; nothing else.
std::optional<int> ParseSetupInt(std::string_view field);

// The two lines the file holds, each ended by CR LF.
std::string SetupFileText(const int (&indices)[kSetupColumns]);

}  // namespace gs::settings
