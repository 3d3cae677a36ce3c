#pragma once

#include <string>

class Shell;

// The help manual beside the executable: the executable's path with its extension replaced by ".html"
// (a name without one gets ".html" appended). Paths are in the file system's own form.
std::string HelpManualPath(const std::string& executablePath);

// Where an installed program's manual lies: "<prefix>/bin/zenporo" has "<prefix>/share/zenporo/zenporo.html"
// (the manual's name as HelpManualPath gives it).
std::string InstalledHelpManualPath(const std::string& executablePath);

// The help menu's "ヘルプ(&H)": opens the manual with the desktop's viewer, the one beside the executable,
// else an installed program's. Nothing of the program's own is reported when that fails; the viewer runs on
// its own.
void OpenHelpManual(Shell& shell, const std::string& executablePath);
