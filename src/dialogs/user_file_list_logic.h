#pragma once

#include <optional>
#include <string>
#include <vector>

class CurrentUserHost;
class Dialogs;
class TextCollator;

// The display names (Shift-JIS) of every entry of folder named "*.zpd", files, folders and hidden entries
// alike, in the order the collator sorts them. folder is in the file system's form. Names that Shift-JIS
// cannot hold are left out, as FindUserFiles leaves them out: their path could not be rebuilt from the entry
// text, and a delete would hit another file.
std::vector<std::string> ListUserFileNames(const std::string& folder, const TextCollator& collator);

// Sorts display names ascending by the collator, comparing their Unicode text.
void SortUserFileNames(std::vector<std::string>& names, const TextCollator& collator);

// The row of the current user file: the name equal to its display name, else the first one equal to it
// ignoring letter case; nothing when there is no current file or no such name.
std::optional<std::size_t> PreselectedRow(const std::vector<std::string>& names,
                                          const std::string& currentUserFile);

// The single column is 20 pixels narrower than the list when not every entry fits, else 4 pixels narrower.
int UserFileColumnWidth(int listWidth, int visibleRows, int entryCount);

// OK on an entry: make folder + name + ".zpd" current (the switch may ask and be declined), then, when it
// was accepted, set the caption for it and refresh the name face.
void ChooseUserFile(CurrentUserHost& user, const std::string& folder, const std::string& name);

// Delete on an entry: when the file exists, asks and deletes it. Deleting the current user file empties the
// main window's record. True when the file was deleted.
bool DeleteUserFileEntry(CurrentUserHost& user, Dialogs& dialogs, const std::string& folder,
                         const std::string& name);
