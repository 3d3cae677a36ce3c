#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The longest value a read returns: values pass through a buffer of 2048 bytes with its terminating NUL.
constexpr std::size_t kProfileValueLimit = 2047;

// Reads one value at a time, as the platform's profile reader does. Section and key names match without
// regard to letter case; a missing section or key gives the caller's default.
class ProfileSource {
  public:
    virtual ~ProfileSource() = default;
    // Throws IniReadError when the file behind the source cannot be read.
    virtual std::string readString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const = 0;
};

// The settings file exists but cannot be read (a folder of that name, no read permission, a read error).
class IniReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A value read as an integer: an optional sign and decimal digits, or hexadecimal after "$", "0x" or "0X";
// anything else, the empty text included, gives the default. Hexadecimal covers the 32 bits unsigned and
// wraps to negative as a 32-bit signed value; a decimal value outside the 32-bit range gives the default.
int ParseProfileInteger(std::string_view text, int defaultValue);

int ReadProfileInteger(const ProfileSource& source, std::string_view section, std::string_view key,
                       int defaultValue);
// Read as an integer with 1 or 0 as its default; any non-zero value is true.
bool ReadProfileBool(const ProfileSource& source, std::string_view section, std::string_view key,
                     bool defaultValue);

// A file in the ini layout, kept line by line with each line's own line end, so that a write changes only the
// line of its key and every other line (unknown keys and sections, comments, blank lines) stays as it was.
// Text is taken as bytes (Shift-JIS); nothing is converted.
class IniFile : public ProfileSource {
  public:
    IniFile() = default;  // the empty file, as a missing one reads
    explicit IniFile(std::string_view bytes);

    std::string bytes() const;

    // The value trimmed of blanks, without one pair of enclosing quotes, cut to kProfileValueLimit bytes.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override;

    // Replaces the first line of the key in its section, or adds the key after the last non-blank line of the
    // section's first occurrence, or adds the section with the key at the end of the file. A value is cut at
    // its first line break so that it cannot split into lines of its own.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeBool(std::string_view section, std::string_view key, bool value);

  private:
    struct Line {
        std::string text;  // without its line end
        std::string end;   // "\r\n", "\n", "\r", or empty for a last line without one
    };

    std::size_t findKeyLine(std::string_view section, std::string_view key) const;
    std::size_t findSectionLine(std::string_view section) const;
    std::size_t lastContentLineOfSection(std::size_t headerLine) const;
    void insertLine(std::size_t position, std::string text);

    std::vector<Line> lines_;
    std::string newLine_ = "\r\n";  // the file's own line end; a new file gets the platform's CR LF
};

// Loads the file at path (the file system's bytes). A missing file (or folder) gives the empty file; a file
// that exists but cannot be read throws IniReadError.
IniFile LoadIniFile(const std::string& path);

// Replaces the file at path (the file system's bytes) in one step (temporary file beside it, flushed, renamed
// over it); a new file is readable by its owner only, a replaced one keeps its permissions. Throws AppError
// (cannotWriteTo) and leaves the old file untouched when any step fails.
void SaveIniFile(const std::string& path, const IniFile& file);
