#pragma once

#include "platform/log.h"

#include <string>
#include <string_view>

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over path, so that a
// crash or a full disk never leaves half a file. A new file is readable by its owner only (on Windows also by
// SYSTEM and the Administrators, whom backups and a reinstall need); a replaced file keeps its permissions; a
// symbolic link is followed, so the file it points at is the one replaced. Returns false, with the old file
// untouched and no temporary file left behind, when any step fails. path is a file system name. The
// temporary file is named ".zenporo-save-" and six letters or digits; on Windows the replaced file is kept
// aside as ".zenporo-kept-" and its own name until the new one has taken its place.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporary files that a write cut short (a killed process) left in folder, and only those;
// returns how many, each logged (Files) when log is given; a file kept aside whose own name is free gets it
// back. Run at start, while no other instance can be writing. Each platform has its own implementation of
// both.
int RemoveLeftoverTemporaries(const std::string& folder, Log* log = nullptr);
