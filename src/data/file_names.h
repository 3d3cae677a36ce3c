#pragma once

#include <optional>
#include <string>
#include <string_view>

// Paths stay in the file system's own bytes (UTF-8 here); only a name the user types or sees is Shift-JIS.

// The file system's bytes for a Shift-JIS name.
std::string FileSystemName(std::string_view sjisName);

// The Shift-JIS form of a name read from the file system; nothing when Shift-JIS cannot hold it exactly,
// that is when its Shift-JIS form would not lead back to the same bytes.
std::optional<std::string> ShiftJisName(std::string_view fileSystemName);

// A path as a message shows it: Shift-JIS, with "?" for each character Shift-JIS cannot hold.
std::string PathForDisplay(std::string_view fileSystemPath);
