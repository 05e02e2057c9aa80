#include "settings/SetupCsv.h"

#include <charconv>

namespace gs::settings {

void LastLineReader::feed(std::string_view piece) {
    while (!piece.empty()) {
        const size_t lf = piece.find('\n');
        if (lf == std::string_view::npos) {
            current_.append(piece);
            pending_ = true;
            return;
        }
        current_.append(piece.substr(0, lf));
        if (!current_.empty() && current_.back() == '\r') current_.pop_back();
        last_.swap(current_);
        current_.clear();
        pending_ = false;
        piece.remove_prefix(lf + 1);
    }
}

std::string LastLineReader::last() const { return pending_ ? current_ : last_; }

std::vector<std::string> SplitSetupLine(std::string_view line) {
    // A NUL ends the text, as it would a C string.
    line = line.substr(0, line.find('\0'));
    auto blank = [](char c) { return c >= 1 && static_cast<unsigned char>(c) <= 32; };
    std::vector<std::string> fields;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && blank(line[i])) ++i;
    while (i < n) {
        std::string field;
        if (line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
        } else {
            const size_t from = i;
            const auto inField = [&](char c) {
                return static_cast<unsigned char>(c) > 32 && c != ';';
            };
            while (i < n && inField(line[i])) ++i;
            field.assign(line.substr(from, i - from));
        }
        fields.push_back(std::move(field));
        while (i < n && blank(line[i])) ++i;
        if (i < n && line[i] == ';') {
            if (i + 1 == n) fields.emplace_back();
            do {
                ++i;
            } while (i < n && blank(line[i]));
        }
    }
    return fields;
}

std::optional<int> ParseSetupInt(std::string_view f) {
    if (!f.empty() && f.front() == '+') {
        f.remove_prefix(1);
        if (f.empty() || f.front() < '0' || f.front() > '9') return std::nullopt;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(f.data(), f.data() + f.size(), value, 10);
    if (ec != std::errc() || end != f.data() + f.size()) return std::nullopt;
    return value;
}

std::string SetupFileText(const int (&indices)[kSetupColumns]) {
    std::string text(kSetupHeader);
    text += "\r\n";
    for (int i = 0; i < kSetupColumns; ++i) {
        if (i) text += ';';
        text += std::to_string(indices[i]);
    }
    text += "\r\n";
    return text;
}

}  // namespace gs::settings
