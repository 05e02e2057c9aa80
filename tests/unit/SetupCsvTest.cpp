#include <gtest/gtest.h>

#include <random>

#include "settings/SetupCsv.h"

namespace gs::settings {
namespace {

using Fields = std::vector<std::string>;

TEST(SetupCsv, SplitsByTheFileRules) {
    EXPECT_EQ(SplitSetupLine("0;0;1;1;0;4"), (Fields{"0", "0", "1", "1", "0", "4"}));
    EXPECT_EQ(SplitSetupLine("0; 0;1;1;0;4"), (Fields{"0", "0", "1", "1", "0", "4"}));
    EXPECT_EQ(SplitSetupLine("  \t0;1"), (Fields{"0", "1"}));
    EXPECT_EQ(SplitSetupLine("1 2"), (Fields{"1", "2"})) << "a blank splits a value";
    EXPECT_EQ(SplitSetupLine("1;;2"), (Fields{"1", "", "2"}));
    EXPECT_EQ(SplitSetupLine("1;2;"), (Fields{"1", "2", ""})) << "a final ; adds an empty field";
    EXPECT_EQ(SplitSetupLine("1;2; "), (Fields{"1", "2"})) << "but not when blanks follow it";
    EXPECT_EQ(SplitSetupLine("\"1\";\"a\"\"b\""), (Fields{"1", "a\"b"}));
    EXPECT_EQ(SplitSetupLine("\"1;2\";3"), (Fields{"1;2", "3"}));
    EXPECT_EQ(SplitSetupLine("\"1\"2;3"), (Fields{"1", "2", "3"}));
    EXPECT_EQ(SplitSetupLine("\"unclosed;1"), (Fields{"unclosed;1"}));
    EXPECT_EQ(SplitSetupLine("1\x01"
                             "2"),
              (Fields{"1", "2"}))
        << "control characters split too";
    EXPECT_EQ(SplitSetupLine(std::string("1;2\0;3", 6)), (Fields{"1", "2"})) << "NUL ends the line";
    EXPECT_EQ(SplitSetupLine(""), Fields{});
    EXPECT_EQ(SplitSetupLine("   "), Fields{});
    EXPECT_EQ(SplitSetupLine(std::string(kSetupHeader)).size(), 6u);
}

TEST(SetupCsv, IntegersAreDecimalWithAnOptionalSign) {
    EXPECT_EQ(ParseSetupInt("0"), 0);
    EXPECT_EQ(ParseSetupInt("42"), 42);
    EXPECT_EQ(ParseSetupInt("-3"), -3);
    EXPECT_EQ(ParseSetupInt("+3"), 3);
    EXPECT_EQ(ParseSetupInt("007"), 7);
    for (const char* bad : {"", "+", "-", "+-1", "1.0", "0x1", "$1", "1a", "OpenFolderCheckedItem",
                            "99999999999", " 1"})
        EXPECT_FALSE(ParseSetupInt(bad).has_value()) << bad;
}

TEST(SetupCsv, LastLineHonoursLfAndCrLf) {
    auto LastLine = [](std::string_view text) {
        LastLineReader whole;
        whole.feed(text);
        return whole.last();
    };
    EXPECT_EQ(LastLine("h\r\n0;1\r\n"), "0;1");
    EXPECT_EQ(LastLine("h\n0;1\n"), "0;1");
    EXPECT_EQ(LastLine("h\r\n0;1"), "0;1");
    EXPECT_EQ(LastLine("h\r\n0;1\r\n\r\n"), "") << "a trailing blank line is the last line";
    EXPECT_EQ(LastLine("0;1\r"), "0;1\r") << "a lone CR ends no line";
    EXPECT_EQ(LastLine(""), "");

    LastLineReader r;  // pieces split anywhere, even inside CR LF
    for (std::string_view piece : {"head\r", "\n0;0", ";1\r", "\n"}) r.feed(piece);
    EXPECT_EQ(r.last(), "0;0;1");
    // Blanks before the fields count for nothing, however many there are.
    const std::string padded = "h\r\n" + std::string(70000, ' ') + "2;1;0;0;3;2\r\n";
    LastLineReader big;
    for (size_t at = 0; at < padded.size(); at += 4096) big.feed(padded.substr(at, 4096));
    EXPECT_EQ(SplitSetupLine(big.last()), (std::vector<std::string>{"2", "1", "0", "0", "3", "2"}));
}

TEST(SetupCsv, WrittenTextIsTheHeaderAndOneLine) {
    const std::string text = SetupFileText({0, 0, 1, 1, 0, 4});
    EXPECT_EQ(text.size(), 114u);
    EXPECT_EQ(text, std::string(kSetupHeader) + "\r\n0;0;1;1;0;4\r\n");
    EXPECT_EQ(kSetupHeader.size(), 99u);
}

// Whatever a line holds, splitting never fails and never invents characters that were not
// there (quotes aside).
TEST(SetupCsv, RandomLinesNeverBreakTheSplitter) {
    std::mt19937 rng(7);
    const std::string alphabet = "0123456789;;;\"  \t\x01-+ab\r";
    for (int n = 0; n < 20000; ++n) {
        std::string line(rng() % 40, ' ');
        for (char& c : line) c = alphabet[rng() % alphabet.size()];
        const Fields f = SplitSetupLine(line);
        size_t chars = 0;
        for (const auto& field : f) {
            chars += field.size();
            for (char c : field) EXPECT_NE(line.find(c), std::string::npos);
        }
        EXPECT_LE(chars, line.size());
        EXPECT_LE(f.size(), line.size() + 1);
    }
}

}  // namespace
}  // namespace gs::settings
