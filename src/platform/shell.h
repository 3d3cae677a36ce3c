#pragma once

#include <string>

// Hands addresses and documents to the desktop's handlers.
class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a URL ("mailto:...", "https://...") with the desktop's handler; false when none took it.
    virtual bool openUrl(const std::string& sjisUrl) = 0;
    // Opens a local file (the help manual, its path in the file system's own form) with the desktop's viewer;
    // false on failure.
    virtual bool openFile(const std::string& path) = 0;
};
