#pragma once

#include "platform/shell.h"
#include "qt/button_images.h"
#include "qt/toolbar_settings_host.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

// Fakes and helpers of the settings dialog and version box tests.
namespace settings_tests {

class FakeShell : public Shell {
  public:
    bool result = true;
    std::vector<std::string> urls;
    std::vector<std::string> files;

    bool openUrl(const std::string& sjisUrl) override {
        urls.push_back(sjisUrl);
        return result;
    }
    bool openFile(const std::string& path) override {
        files.push_back(path);
        return result;
    }
};

// The main window as the settings dialog sees it; rebuilding the faces uses the real loader.
class FakeToolbarSettings : public ToolbarSettingsHost {
  public:
    ScriptedDialogs scriptedDialogs;
    ToolbarSettings toolbarSettings;
    std::vector<std::string> paths = std::vector<std::string>(kFaceCount);
    ButtonFaces buttonFaces = LoadButtonImages(paths);
    int rebuilds = 0;

    ToolbarSettings& settings() override { return toolbarSettings; }
    std::vector<std::string>& buttonImagePaths() override { return paths; }
    const ButtonFaces& faces() const override { return buttonFaces; }
    void rebuildFaces() override {
        ++rebuilds;
        buttonFaces = LoadButtonImages(paths);
    }
};

// Runs a modal window's script once the event loop has shown it: the script acts on the active modal
// window; whatever it leaves open is then closed so that a failing script cannot hang the suite.
template <typename Window>
void WhenModal(std::function<void(Window&)> script) {
    QTimer::singleShot(0, [script = std::move(script)] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr) {
            ADD_FAILURE() << "no modal window of the expected kind";
            if (QWidget* other = QApplication::activeModalWidget()) {
                other->close();
            }
            return;
        }
        script(*window);
        if (window->isVisible()) {
            window->reject();
        }
    });
}

}  // namespace settings_tests
