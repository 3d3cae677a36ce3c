#pragma once

#include "platform/shell.h"

// The desktop's handlers through Qt (xdg-open on X11 desktops).
class QtShell : public Shell {
  public:
    bool openUrl(const std::string& sjisUrl) override;
    bool openFile(const std::string& path) override;
};
