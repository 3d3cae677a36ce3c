#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Paths inside the program are the file system's own bytes on Linux and UTF-8 on Windows (whose own names
// are UTF-16); each platform converts at its calls.

// What separates the folders of a path: "/" on Linux, "\" and "/" on Windows.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

struct FileContent {
    enum class Outcome { Read, Missing, Failed };
    Outcome outcome = Outcome::Failed;
    std::string bytes;  // the whole file when Read
    std::string error;  // why, when Failed
};

// The whole file. Missing when neither it nor its folder exists; Failed when it exists but cannot be read
// (a folder of that name, no permission, a read error).
FileContent ReadWholeFile(const std::string& path);

// The names of every entry of folder (files, folders, hidden ones; never "." or ".."), in the order the
// folder lists them; nothing when the folder cannot be opened. An empty folder path is the current folder.
std::optional<std::vector<std::string>> EntryNamesIn(const std::string& folder);

// True when path names an existing file, not a folder.
bool FileExists(const std::string& path);

// Deletes the file at path; false when it is not there, is a folder, or cannot be deleted (read-only, in
// use).
bool RemoveFile(const std::string& path);

// Whether the file system tells apart names that differ only in letter case: Linux's do, so "TARO.ZPD" is
// not "TARO.zpd"; Windows' do not, so either name opens the other.
enum class LetterCase { Significant, Ignored };
LetterCase FileNameLetterCase();

// The folder of the running program with a trailing separator; the current folder when it cannot be known.
std::string ExecutableFolder();

#ifndef _WIN32
// The user's home folder with a trailing separator: $HOME, else the password database's; empty when unknown.
std::string HomeFolder();

// Whether this process may create files in the folder.
bool CanWriteFolder(const std::string& folder);

// Creates the folder (not its parents) readable by its owner only, unless it exists; true when it is there.
bool EnsureFolder(const std::string& folder);
#endif
