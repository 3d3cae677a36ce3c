#pragma once

#include "data/user_record.h"
#include "platform/file_system.h"
#include "platform/log.h"

#include <string>
#include <string_view>
#include <vector>

// User files: one line per field, Shift-JIS, every line ended by CR LF. Paths, folders included, are the file
// system's own bytes (UTF-8 on Windows); only a user file's name, as the user types and sees it, is
// Shift-JIS.

// The folder of the user files and the settings file, with a trailing separator, in the program's form of
// paths: the executable's folder, so that a folder copied whole takes its files along. On Linux a program
// folder that cannot be written, or that holds installed programs (/usr/bin), gives way to
// UserFileFolderFor's folder in the home folder, made here when it is missing.
std::string UserFileFolder();

// The Linux choice of UserFileFolder: the program's folder when it can be written and is no folder of
// installed programs, else "Zenporo/" in the home folder (where scripts/install puts the program, so both
// find the same files); the program's folder when the home folder is unknown (empty). Folders end in "/".
std::string UserFileFolderFor(const std::string& programFolder, bool programFolderWritable,
                              const std::string& homeFolder);

// folder + the Shift-JIS name in the file system's form + ".zpd"; the name is taken exactly as typed.
std::string UserFilePath(const std::string& folder, const std::string& name);

// The file name without folder and without its last extension ("a.b.zpd" gives "a.b"), in Shift-JIS; a
// name Shift-JIS cannot hold shows "?" for what it cannot hold.
std::string DisplayName(const std::string& path);

// Splits file bytes into lines at CR LF, lone CR and lone LF; a NUL ends the content; no trimming.
UserRecord ParseUserFileBytes(std::string_view bytes);
// Each line followed by CR LF, the last one included; CR, LF and NUL bytes within a line are left out, so
// that the file reads back as the same number of lines.
std::string UserFileBytes(const UserRecord& record);

// Reads a user file; throws AppError (cannotOpenFile) when it cannot be opened.
UserRecord ReadUserFile(const std::string& path);
// Replaces the file atomically (temporary file beside it, then rename), readable by its owner only;
// throws AppError (cannotCreateFile) when it cannot be written.
void WriteUserFile(const std::string& path, const UserRecord& record);

struct UserFileSearch {
    int count = 0;
    std::string firstPath;  // folder + name of the first entry; empty when count is 0
};
// Counts every user file entry of folder (IsUserFileEntry under the file system's letter case rule), hidden
// ones and folders included, leaving out names Shift-JIS cannot hold, as UserFileNamesIn does.
UserFileSearch FindUserFiles(const std::string& folder, Log* log = nullptr);

// Whether an entry name is a user file's: it ends in ".zpd", and where the file system ignores letter case
// also in ".ZPD" or any other case (a name from old 8.3 media reads "TARO.ZPD"), as the name rebuilt with
// ".zpd" opens that entry there.
bool IsUserFileEntry(std::string_view entryName, LetterCase letterCase);

// The Shift-JIS display names of the entries FindUserFiles counts, in the order the folder lists them. Each
// name left out is logged (Files) when log is given.
std::vector<std::string> UserFileNamesIn(const std::string& folder, Log* log = nullptr);
