#pragma once

#include <optional>
#include <string>

#include <windows.h>

// Asks for a picture file with the Explorer-style open-file dialog, starting in startFolder (empty: the
// dialog's own default), offering the one filter given (its description; the pattern "*.bmp"), with a
// preview of the selected bitmap below the file list. The file-name box still takes a typed path. Returns
// the chosen file's full path, or nothing when the user cancels.
std::optional<std::wstring> ChoosePictureFile(HWND owner, const std::wstring& startFolder,
                                              const std::wstring& filterDescription);
