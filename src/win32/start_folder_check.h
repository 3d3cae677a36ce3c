#pragma once

#include <optional>
#include <string>

// Why the user's files would not stay in the program's folder (wide path, with or without a trailing
// separator), as the information text shown at start (Shift-JIS): the program runs from the temporary
// folder (a zip file opened without unzipping), the folder's path is too long for Windows to save in it, or
// the folder cannot be written (under Program Files).
// Nothing when the folder keeps them.
std::optional<std::string> StartFolderWarning(const std::wstring& folder);
