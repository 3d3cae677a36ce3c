#include "dialogs/help_manual.h"

#include "platform/file_system.h"
#include "platform/shell.h"

std::string HelpManualPath(const std::string& executablePath) {
    const std::size_t slash = executablePath.find_last_of(kPathSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = executablePath.rfind('.');
    // A dot that starts the name (a hidden file) or lies in a folder name is no extension.
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    const std::string stem = hasExtension ? executablePath.substr(0, dot) : executablePath;
    return stem + ".html";
}

std::string InstalledHelpManualPath(const std::string& executablePath) {
    const std::string beside = HelpManualPath(executablePath);
    const std::size_t nameStart = beside.find_last_of(kPathSeparators);
    if (nameStart == std::string::npos || nameStart == 0) {
        return beside;
    }
    const std::size_t folderStart = beside.find_last_of(kPathSeparators, nameStart - 1);
    const std::string prefix =
        folderStart == std::string::npos ? std::string() : beside.substr(0, folderStart + 1);
    return prefix + "share/zenporo/" + beside.substr(nameStart + 1);
}

void OpenHelpManual(Shell& shell, const std::string& executablePath) {
    const std::string beside = HelpManualPath(executablePath);
    const std::string installed = InstalledHelpManualPath(executablePath);
    shell.openFile(!FileExists(beside) && FileExists(installed) ? installed : beside);
}
