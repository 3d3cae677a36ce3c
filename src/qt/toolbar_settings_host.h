#pragma once

#include "qt/button_images.h"
#include "settings/toolbar_settings.h"

#include <string>
#include <vector>

// What the settings dialog may read and change of the main window: the paste settings, the sixteen picture
// paths and the faces built from them. The main window implements it; settings dialog tests hand in a fake.
class ToolbarSettingsHost {
  public:
    virtual ~ToolbarSettingsHost() = default;

    virtual ToolbarSettings& settings() = 0;
    virtual std::vector<std::string>& buttonImagePaths() = 0;
    virtual const ButtonFaces& faces() const = 0;
    // LoadButtonImages from buttonImagePaths(), then ApplyButtonFaces.
    virtual void rebuildFaces() = 0;
};
