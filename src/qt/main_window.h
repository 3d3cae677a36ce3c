#pragma once

#include "qt/button_images.h"
#include "qt/toolbar_settings_host.h"
#include "toolbar/menu_table.h"
#include "toolbar/toolbar_behaviour.h"
#include "toolbar/toolbar_view.h"

#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FlatButton;
class NoticeWindow;
class QActionGroup;
class QMenu;
class QPushButton;
class TForm1;

// The dialogs the toolbar window opens; empty functions do nothing. parent is null while the toolbar is
// not shown yet.
struct ToolbarDialogOpeners {
    std::function<void(TForm1&, QWidget* parent)> openUserFileList;
    std::function<void(TForm1&, QWidget* parent)> openUserFileEditor;
    std::function<void(TForm1&, QWidget* parent)> openSettings;
    std::function<void(QWidget* parent)> openHelp;
    std::function<void(QWidget* parent)> openVersionBox;
};

// The always-on-top toolbar: the Linux program's view of the toolbar's behaviour.
class TForm1 final : public QWidget, public ToolbarView, public ToolbarSettingsHost {
    Q_OBJECT
  public:
    explicit TForm1(ToolbarServices services, ToolbarDialogOpeners openers = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    ToolbarBehaviour& behaviour() { return behaviour_; }

    // ToolbarSettingsHost: what the settings dialog changes.
    ToolbarSettings& settings() override { return behaviour_.settings(); }
    std::vector<std::string>& buttonImagePaths() override { return behaviour_.buttonImagePaths(); }
    const ButtonFaces& faces() const override { return faces_; }
    void rebuildFaces() override { behaviour_.rebuildFaces(); }

    // ToolbarView.
    Point framePosition() const override;
    void moveFrame(Point topLeft) override;
    bool isOpen() const override;
    void setOpen(bool open) override;
    void setOpenButtonHint(const std::string& hint) override;
    void setCaptionAndTitle(const std::string& caption) override;
    void arrangeButtons(bool horizontal) override;
    void loadFaces(const std::vector<std::string>& paths) override;
    void applyButtonFaces() override;
    void showNameFace(int face) override;
    void setFullNameMenuPicture(int picture) override;
    void showHints(const ToolbarHints& hints) override;
    void showDeliveryNotice(const std::string& text) override;
    void openUserFileEditor() override;
    void openUserFileList() override;

    FlatButton* speedButton(int number) const;
    // PopupMenu<number>, built on first use so that start-up does not pay for nine menus and their pictures.
    QMenu* popupMenu(int number);
    QPushButton* changeButton() const { return changeBtn_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    QMenu* buildPopupMenu(int number);
    QAction* addMenuEntry(QMenu* menu, const MenuEntry& entry, std::map<MenuItemId, QMenu*>& submenus);
    void setMenuPicture(QAction* action, int image);
    // The loaded user's full-name picture and memo captions on the items built so far.
    void applyUserToMenus();
    void FormShow();
    // The left click on the change bar (0) or SpeedButton<number>, by what the core's table says it does.
    void buttonClick(int number);
    // The right-button press on every field button, told apart by its Tag.
    void SpeedButton4MouseDown(FlatButton* sender);
    void SpeedButton16Click();
    // The parent of a dialog the toolbar opens: none before the toolbar is first shown.
    QWidget* dialogParent();
    void placeFrameBeforeMapping();

    ToolbarDialogOpeners openers_;
    ButtonFaces faces_;
    std::optional<QPoint> pendingFramePosition_;

    QWidget* panel1_ = nullptr;
    QWidget* panel2_ = nullptr;
    QPushButton* changeBtn_ = nullptr;
    std::map<int, FlatButton*> speedButtons_;
    std::map<int, QMenu*> popupMenus_;            // the menus built so far
    std::map<MenuItemId, QAction*> menuActions_;  // the items of the menus built so far
    QActionGroup* widthChoices_ = nullptr;        // the 文字幅 items, once their menu is built
    std::optional<int> nameMenuPicture_;          // set by setFullNameMenuPicture for the full-name items
    NoticeWindow* notice_ = nullptr;
    ToolbarBehaviour behaviour_;  // last: it is built on the view above
};
