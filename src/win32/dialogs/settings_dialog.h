#pragma once

#include "platform/dialogs.h"
#include "settings/toolbar_settings.h"
#include "win32/dialogs/modal_dialog.h"
#include "win32/dialogs/preview_picture.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TextCodec;

// What the settings dialog reads and changes of the toolbar: the paste settings, the sixteen picture paths,
// the faces built from them, and the questions and texts of the windows.
struct SettingsDialogContext {
    ToolbarSettings& settings;
    std::vector<std::string>& buttonImagePaths;  // Shift-JIS
    std::function<Pixels(int face)> face;  // face i as the toolbar shows it, 16 x 16
    std::function<Pixels(int face)> builtInFace;
    std::function<void()> rebuildFaces;  // LoadButtonImages from the paths, then ApplyButtonFaces
    Dialogs& dialogs;
    const TextCodec& codec;
    // Asks for a picture file (the start folder, the filter's description); nothing when cancelled.
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& startFolder,
                                              const std::wstring& filterDescription)>
        choosePicture;
};

// The settings dialog "設定": paste behaviour, the Next key and the sixteen button pictures. OK stores the
// four paste settings at once; the caller takes the path boxes over afterwards.
class SettingsDialog final : public ModalDialog {
  public:
    explicit SettingsDialog(const SettingsDialogContext& context);

    // The texts of path boxes 0 to 15, in face order, exactly as they stand (Shift-JIS).
    const std::vector<std::string>& pathTexts() const { return pathTexts_; }

  private:
    void onInit() override;
    void onCommand(int id, int code, HWND control) override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onDpiChanged() override;

    void addPasteControls();
    void addPathBoxes();
    void addRowsAndPanels();
    bool checked(int id) const;
    void setChecked(int id, bool on);
    void drawPreview(const DRAWITEMSTRUCT& item) const;
    void makeBrowsePicture();

    void FormCreate();
    void CheckBox1Click();
    void CheckBox2Click();
    void SpeedButton1Click(int face);
    void DefaultBtnClick();
    void BitBtn1Click();

    const SettingsDialogContext& context_;
    std::array<PreviewPicture, 16> previews_;  // by face
    std::vector<std::string> pathTexts_;
    BitmapHandle browsePicture_;
    std::optional<AskingWindowScope> asking_;
};

// The settings button's handler: shows a fresh dialog modally and, when it ends with OK, replaces the
// picture paths by the path boxes and rebuilds the faces.
void OpenSettingsDialog(HWND owner, const SettingsDialogContext& context);
