#include "settings/ini_file.h"

#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/sjis.h"
#include "platform/file_system.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

enum class LineKind { Blank, Comment, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed; empty for a key line without "="
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A line opens a section when it starts with "[" and holds a "]" (the last one ends the name); a line that
// starts with ";" is a comment; any other non-blank line is a key, with or without "=".
ParsedLine parseLine(std::string_view text) {
    const std::string_view line = trim(text);
    if (line.empty()) {
        return {};
    }
    if (line.front() == ';') {
        return {LineKind::Comment, {}, {}};
    }
    if (line.front() == '[') {
        const auto close = line.rfind(']');
        if (close != std::string_view::npos) {
            return {LineKind::Section, trim(line.substr(1, close - 1)), {}};
        }
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {LineKind::Key, line, {}};
    }
    return {LineKind::Key, trim(line.substr(0, equals)), trim(line.substr(equals + 1))};
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares names ignoring the case of single-byte letters; the trail byte of a double-byte character is never
// folded, since it may fall into the range of ASCII letters.
bool namesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = sjis::charLengthAt(a, i);
        if (length == 2) {
            if (a.substr(i, 2) != b.substr(i, 2)) {
                return false;
            }
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The longest prefix of at most limit bytes that does not end inside a double-byte character.
std::string_view cutToBytes(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + sjis::charLengthAt(text, end);
        if (next > limit) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<int> parseHex(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<int> parseDecimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

int ParseProfileInteger(std::string_view text, int defaultValue) {
    std::optional<int> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = parseHex(text.substr(2));
    } else if (!text.empty() && text.front() == '$') {
        value = parseHex(text.substr(1));
    } else {
        value = parseDecimal(text);
    }
    return value.value_or(defaultValue);
}

int ReadProfileInteger(const ProfileSource& source, std::string_view section, std::string_view key,
                       int defaultValue) {
    return ParseProfileInteger(source.readString(section, key, ""), defaultValue);
}

bool ReadProfileBool(const ProfileSource& source, std::string_view section, std::string_view key,
                     bool defaultValue) {
    return ReadProfileInteger(source, section, key, defaultValue ? 1 : 0) != 0;
}

IniFile::IniFile(std::string_view bytes) {
    bool newLineSeen = false;
    while (!bytes.empty()) {
        const auto breakAt = bytes.find_first_of("\r\n");
        if (breakAt == std::string_view::npos) {
            lines_.push_back({std::string(bytes), {}});
            break;
        }
        const std::size_t endLength = bytes.substr(breakAt, 2) == "\r\n" ? 2 : 1;
        lines_.push_back(
            {std::string(bytes.substr(0, breakAt)), std::string(bytes.substr(breakAt, endLength))});
        if (!newLineSeen) {
            newLine_ = lines_.back().end;
            newLineSeen = true;
        }
        bytes.remove_prefix(breakAt + endLength);
    }
}

std::string IniFile::bytes() const {
    std::string result;
    for (const Line& line : lines_) {
        result += line.text;
        result += line.end;
    }
    return result;
}

std::size_t IniFile::findKeyLine(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = parseLine(lines_[i].text);
        if (parsed.kind == LineKind::Section) {
            inSection = namesEqual(parsed.name, section);
        } else if (inSection && parsed.kind == LineKind::Key && namesEqual(parsed.name, key)) {
            return i;
        }
    }
    return kNotFound;
}

std::size_t IniFile::findSectionLine(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine parsed = parseLine(lines_[i].text);
        if (parsed.kind == LineKind::Section && namesEqual(parsed.name, section)) {
            return i;
        }
    }
    return kNotFound;
}

std::size_t IniFile::lastContentLineOfSection(std::size_t headerLine) const {
    std::size_t last = headerLine;
    for (std::size_t i = headerLine + 1; i < lines_.size(); ++i) {
        const LineKind kind = parseLine(lines_[i].text).kind;
        if (kind == LineKind::Section) {
            break;
        }
        if (kind != LineKind::Blank) {
            last = i;
        }
    }
    return last;
}

void IniFile::insertLine(std::size_t position, std::string text) {
    // The new line takes the line end of the line it follows. That end already stands before the next line
    // without merging into it (a lone CR before an LF-only blank line would read as one CR LF and swallow
    // it).
    std::string end = newLine_;
    if (position > 0) {
        Line& previous = lines_[position - 1];
        if (previous.end.empty()) {
            previous.end = newLine_;
        }
        end = previous.end;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  Line{std::move(text), std::move(end)});
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const std::size_t at = findKeyLine(section, key);
    if (at == kNotFound) {
        return std::string(defaultValue);
    }
    return std::string(cutToBytes(withoutQuotes(parseLine(lines_[at].text).value), kProfileValueLimit));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view oneLine = value.substr(0, value.find_first_of("\r\n"));
    const std::size_t at = findKeyLine(section, key);
    if (at != kNotFound) {
        // The key keeps its spelling from the file; only its value changes.
        lines_[at].text = std::string(parseLine(lines_[at].text).name) + "=" + std::string(oneLine);
        return;
    }
    std::string keyLine = std::string(key) + "=" + std::string(oneLine);
    const std::size_t header = findSectionLine(section);
    if (header != kNotFound) {
        insertLine(lastContentLineOfSection(header) + 1, std::move(keyLine));
        return;
    }
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    insertLine(lines_.size(), std::move(keyLine));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

IniFile LoadIniFile(const std::string& path) {
    const FileContent content = ReadWholeFile(path);
    switch (content.outcome) {
        case FileContent::Outcome::Read:
            return IniFile(content.bytes);
        case FileContent::Outcome::Missing:
            return IniFile();
        case FileContent::Outcome::Failed:
            break;
    }
    throw IniReadError(content.error);
}

void SaveIniFile(const std::string& path, const IniFile& file) {
    if (!ReplaceFileAtomically(path, file.bytes())) {
        throw cannotWriteTo(path);
    }
}
