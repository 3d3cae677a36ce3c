#pragma once

#include "data/birth_date.h"
#include "qt/button_images.h"
#include "qt/toolbar_settings_host.h"
#include "settings/toolbar_settings.h"
#include "toolbar/composition.h"
#include "toolbar/current_user.h"
#include "toolbar/delivery.h"
#include "toolbar/delivery_notice.h"
#include "toolbar/menu_table.h"
#include "toolbar/toolbar_hints.h"

#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class Clipboard;
class Dialogs;
class FlatButton;
class Log;
class NoticeWindow;
class QMenu;
class QPushButton;
class TForm1;

// What the main window needs from outside; main builds the real ones, tests hand in fakes.
struct ToolbarServices {
    Dialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    Log* log = nullptr;  // where user files left out at start are noted; none in tests
    std::function<CalendarDate()> today = TodayLocal;
    std::string userFileFolder;  // the file system's own bytes, with a trailing "/"
    // The dialogs the toolbar opens; empty functions do nothing.
    std::function<void(TForm1&, QWidget* parent)> openUserFileList;
    std::function<void(TForm1&, QWidget* parent, const std::string& path)> openUserFileEditor;
    std::function<void(TForm1&, QWidget* parent)> openSettings;
    std::function<void(QWidget* parent)> openHelp;
    std::function<void(QWidget* parent)> openVersionBox;
    // Pastes the clipboard into the window below, and presses the Next key there; every result but Sent is
    // shown to the user as a short notice near the toolbar.
    std::function<DeliveryResult(const ToolbarSettings&)> pasteIntoWindowBelow;
    std::function<DeliveryResult(const ToolbarSettings&)> pressNextKey;
};

// The always-on-top toolbar.
class TForm1 final : public QWidget, public ToolbarSettingsHost {
    Q_OBJECT
  public:
    explicit TForm1(ToolbarServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // Reads the settings file, builds the faces and chooses the first user file.
    void FormCreate();
    // Writes the settings file; throws AppError when it cannot be written.
    void FormDestroy();

    Dialogs& dialogs() { return *services_.dialogs; }
    // The caption the task bar shows, and the caption of the general error report.
    const std::string& applicationTitle() const { return applicationTitle_; }
    // The current user file and record, as the user file dialogs change them.
    CurrentUser& currentUser() { return user_; }

    // ToolbarSettingsHost: what the settings dialog changes.
    ToolbarSettings& settings() override { return settings_; }
    std::vector<std::string>& buttonImagePaths() override { return buttonImagePaths_; }
    const ButtonFaces& faces() const override { return faces_; }
    void rebuildFaces() override;

    void ArrangeButtons();
    void ApplyButtonFaces();
    void UpdateNameFace();
    void UpdateHints();

    FlatButton* speedButton(int number) const;
    // PopupMenu<number>, built on first use so that start-up does not pay for nine menus and their pictures.
    QMenu* popupMenu(int number);
    QPushButton* changeButton() const { return changeBtn_; }
    bool isOpen() const;
    void setOpen(bool open);
    const std::string& settingsFile() const { return settingsFile_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    QMenu* buildPopupMenu(int number);
    QAction* addMenuEntry(QMenu* menu, const MenuEntry& entry, std::map<MenuItemId, QMenu*>& submenus);
    void setMenuPicture(QAction* action, int image);
    // The loaded user's full-name picture and memo captions on the items built so far.
    void applyUserToMenus();
    void FormShow();
    void SpeedButton3Click();
    void ChangeBtnClick();
    // Serves the left click of every field button and every field menu item; a button passes no item.
    void SpeedButton7Click(ClickSender sender, int tag, std::optional<MenuItemId> item);
    // The right-button press on every field button, told apart by its Tag.
    void SpeedButton4MouseDown(FlatButton* sender);
    void SpeedButton16Click();
    void SpeedButton18Click();
    void showDeliveryNotice(DeliveryResult result, DeliveryAction action);
    void moveFrameTo(QPoint topLeft);
    void placeFrameBeforeMapping();
    void setCaptionAndTitle(const std::string& sjisCaption);

    ToolbarServices services_;
    ToolbarSettings settings_;
    std::vector<std::string> buttonImagePaths_;
    ButtonFaces faces_;
    bool facesAreBuiltIn_ = true;  // faces_ holds the built-in pictures only
    std::string settingsFile_;
    std::string applicationTitle_;
    std::optional<QPoint> pendingFramePosition_;
    ToolbarHints hints_;
    CurrentUser user_;

    QWidget* panel1_ = nullptr;
    QWidget* panel2_ = nullptr;
    QPushButton* changeBtn_ = nullptr;
    std::map<int, FlatButton*> speedButtons_;
    std::map<int, QMenu*> popupMenus_;            // the menus built so far
    std::map<MenuItemId, QAction*> menuActions_;  // the items of the menus built so far
    std::optional<int> nameMenuPicture_;          // set by updateNameFace for the full-name items
    NoticeWindow* notice_ = nullptr;
};
