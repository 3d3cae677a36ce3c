#include "qt/main_window.h"

#include "platform/qt/japanese_font.h"
#include "platform/qt/qt_sjis.h"
#include "platform/qt/serve_events.h"
#include "qt/flat_button.h"
#include "qt/notice_window.h"
#include "qt/qt_geometry.h"
#include "toolbar/button_actions.h"
#include "toolbar/screen_placement.h"
#include "toolbar/toolbar_layout.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <array>
#include <chrono>
#include <vector>

namespace {

// The face each field button shows, by its number (SpeedButton4 .. SpeedButton18).
int FaceOfButton(int number) {
    return FieldButtonTag(number);
}

// The menu items whose picture and caption follow the loaded user.
constexpr std::array kFullNameItems{MenuItemId::Kanji1, MenuItemId::Hiragana1, MenuItemId::Katakana1,
                                    MenuItemId::Romaji1};
constexpr std::array kMemoItems{MenuItemId::Memo1, MenuItemId::Memo2, MenuItemId::Memo3, MenuItemId::Memo4};

// The object name of a menu item: its Name, which tests use to find it.
QString nameOf(const MenuEntry& entry) {
    return QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
}

QString u(const std::string& sjisText) {
    return QStringFromSjis(sjisText);
}

// A field click made with Shift held (a button, or a menu item chosen by click or Enter) types its text; with
// Ctrl held it replaces what the box holds.
TextEntry textEntry() {
    const Qt::KeyboardModifiers held = QGuiApplication::keyboardModifiers();
    return TextEntryOf(held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier));
}

// The desktop's double-click time for the click rule, and the event loop for the wait after a paste.
ToolbarServices withToolkitTimings(ToolbarServices services) {
    services.doubleClickTime = std::chrono::milliseconds(QApplication::doubleClickInterval());
    services.waitServingEvents = ServeEventsUntil;
    return services;
}

}  // namespace

TForm1::TForm1(ToolbarServices services, ToolbarDialogOpeners openers, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      openers_(std::move(openers)),
      behaviour_(withToolkitTimings(std::move(services)), *this) {
    setObjectName(QStringLiteral("Form1"));
    setFont(JapaneseUiFont(11));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    // The toolbar never takes the focus, so it is never the active window; its hints must show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    for (int i = 0; i < kFaceCount; ++i) {
        faces_[static_cast<std::size_t>(i)] = BuiltInPicture(i);
    }
    buildControls();
    behaviour_.showLayoutState();
}

TForm1::~TForm1() = default;

void TForm1::buildControls() {
    panel1_ = new QWidget(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel2_ = new QWidget(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));

    changeBtn_ = new QPushButton(panel1_);
    changeBtn_->setObjectName(QStringLiteral("ChangeBtn"));
    changeBtn_->setFocusPolicy(Qt::NoFocus);
    // Sized before the first showing, so Qt does not measure its (empty) text and load every font at start.
    changeBtn_->resize(kChangeBarThickness, 22);
    connect(changeBtn_, &QPushButton::clicked, this, [this] { buttonClick(kChangeBarNumber); });

    const std::map<int, const char*> controlHints = {{1, "切替"}, {2, "最小化"}, {3, "開く"}};
    for (const auto& [number, hint] : controlHints) {
        auto* button = new FlatButton(panel1_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number));
        button->setToolTip(QString::fromUtf8(hint));
        speedButtons_[number] = button;
    }
    speedButtons_[1]->setPicture(SwitchButtonPicture());
    speedButtons_[2]->setPicture(MinimizeButtonPicture());
    speedButtons_[2]->resize(23, 22);
    speedButtons_[3]->setCheckable(true);

    for (int number = kFirstFieldButtonNumber; number <= kLastButtonNumber; ++number) {
        auto* button = new FlatButton(panel2_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number));
        speedButtons_[number] = button;
        connect(button, &FlatButton::rightPressed, this, [this, button] { SpeedButton4MouseDown(button); });
    }
    for (const auto& [number, button] : speedButtons_) {
        connect(button, &FlatButton::clicked, this, [this, number] { buttonClick(number); });
    }
}

void TForm1::buttonClick(int number) {
    switch (ButtonActionOf(number)) {
        case ButtonAction::FlipArrangement:
            behaviour_.ChangeBtnClick();
            return;
        case ButtonAction::OpenUserFileList:
            openUserFileList();
            return;
        case ButtonAction::Minimize:
            showMinimized();
            return;
        case ButtonAction::ToggleFieldRow:
            behaviour_.SpeedButton3Click();
            return;
        case ButtonAction::OpenSettings:
            if (openers_.openSettings) {
                openers_.openSettings(*this, this);
            }
            return;
        case ButtonAction::OpenHelpMenu:
            SpeedButton16Click();
            return;
        case ButtonAction::ComposeField:
        case ButtonAction::PressNextKey: {
            const FlatButton* button = speedButtons_.at(number);
            behaviour_.keyButtonClick(number, button->tag(), button->clickTime(), textEntry());
            return;
        }
    }
}

QMenu* TForm1::buildPopupMenu(int number) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu%1").arg(number));
    std::map<MenuItemId, QMenu*> submenus;
    for (const MenuEntry& entry : PopupMenuEntries()) {
        if (entry.menu != number) {
            continue;
        }
        QMenu* parent = entry.submenuOf ? submenus.at(*entry.submenuOf) : menu;
        QAction* action = addMenuEntry(parent, entry, submenus);
        menuActions_[entry.id] = action;
        action->setObjectName(nameOf(entry));
        action->setProperty("Tag", entry.tag);
        setMenuPicture(action, entry.image);
    }
    applyUserToMenus();  // what the loaded user changed before the menu existed
    return menu;
}

void TForm1::applyUserToMenus() {
    for (const MenuItemId id : kFullNameItems) {
        if (nameMenuPicture_ && menuActions_.contains(id)) {
            setMenuPicture(menuActions_.at(id), *nameMenuPicture_);
        }
    }
    for (std::size_t i = 0; i < kMemoItems.size(); ++i) {
        if (menuActions_.contains(kMemoItems[i])) {
            menuActions_.at(kMemoItems[i])->setText(u(behaviour_.hints().memoCaptions[i]));
        }
    }
}

QAction* TForm1::addMenuEntry(QMenu* menu, const MenuEntry& entry, std::map<MenuItemId, QMenu*>& submenus) {
    const QString caption =
        QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
    if (entry.kind == MenuEntryKind::Separator) {
        return menu->addSeparator();
    }
    if (entry.kind == MenuEntryKind::SubmenuHead) {
        QMenu* submenu = menu->addMenu(caption);
        submenu->setObjectName(nameOf(entry) + QStringLiteral("Menu"));
        submenus[entry.id] = submenu;
        return submenu->menuAction();
    }
    QAction* action = menu->addAction(caption);
    if (entry.kind == MenuEntryKind::Compose) {
        connect(action, &QAction::triggered, this, [this, tag = entry.tag, id = entry.id] {
            behaviour_.SpeedButton7Click(ClickSender::MenuItem, tag, id, textEntry());
        });
        return action;
    }
    if (entry.kind == MenuEntryKind::WidthChoice) {
        // One of three, checked as the run's width stands; the group keeps one checked.
        if (widthChoices_ == nullptr) {
            widthChoices_ = new QActionGroup(this);
        }
        const auto width = static_cast<TextWidth>(entry.tag);
        action->setCheckable(true);
        action->setChecked(behaviour_.textWidth() == width);
        widthChoices_->addAction(action);
        connect(action, &QAction::triggered, this, [this, width] { behaviour_.setTextWidth(width); });
        return action;
    }
    // The help menu's two items open the manual and the version box.
    const auto& open = entry.id == MenuItemId::Help1 ? openers_.openHelp : openers_.openVersionBox;
    connect(action, &QAction::triggered, this, [this, &open] {
        if (open) {
            open(this);
        }
    });
    return action;
}

void TForm1::setMenuPicture(QAction* action, int image) {
    action->setProperty("ImageIndex", image);
    if (image >= 0) {
        action->setIcon(QIcon(QPixmap::fromImage(BuiltInMenuPicture(image))));
    }
}

FlatButton* TForm1::speedButton(int number) const {
    const auto found = speedButtons_.find(number);
    return found != speedButtons_.end() ? found->second : nullptr;
}

QMenu* TForm1::popupMenu(int number) {
    if (number < 1 || number > 9) {
        return nullptr;
    }
    const auto found = popupMenus_.find(number);
    if (found != popupMenus_.end()) {
        return found->second;
    }
    return popupMenus_[number] = buildPopupMenu(number);
}

bool TForm1::isOpen() const {
    return speedButtons_.at(3)->isChecked();
}

void TForm1::setOpen(bool open) {
    speedButtons_.at(3)->setChecked(open);
}

void TForm1::setOpenButtonHint(const std::string& hint) {
    speedButtons_.at(3)->setToolTip(u(hint));
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        placeFrameBeforeMapping();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The close box: the settings are written, and a failure reported, while the event loop still runs as
    // usual. Only once this returns does the closed window end the loop, so no quit is pending during the
    // report.
    behaviour_.FormDestroy();
    QWidget::closeEvent(event);
}

void TForm1::FormShow() {
    // Tags follow the names of the field row, not its positions: SpeedButton4 gets 0, SpeedButton18 14.
    const int base = static_cast<int>(panel1_->children().size()) - 1;
    int count = 0;
    for (QObject* child : panel2_->children()) {
        count += qobject_cast<FlatButton*>(child) != nullptr ? 1 : 0;
    }
    for (int i = 1; i <= count; ++i) {
        auto* button = findChild<FlatButton*>(QStringLiteral("SpeedButton%1").arg(base + i));
        if (button != nullptr) {
            button->setTag(i - 1);
        }
    }
    behaviour_.ArrangeButtons();
}

void TForm1::arrangeButtons(bool horizontal) {
    const Size buttonSize = fromQSize(speedButtons_.at(1)->size());
    const ToolbarLayout layout = ArrangeButtonsLayout(horizontal, isOpen(), buttonSize);
    speedButtons_.at(3)->setPicture(horizontal ? OpenButtonStripHorizontal() : OpenButtonStripVertical());
    setFixedSize(toQSize(layout.clientSize));
    QRect panel1 = toQRect(layout.panel1);
    // Closed, the control group fills whatever client area the platform actually gave the window.
    if (!isOpen()) {
        if (horizontal) {
            panel1.setWidth(width());
        } else {
            panel1.setHeight(height());
        }
    }
    panel1_->setGeometry(panel1);
    changeBtn_->setGeometry(toQRect(layout.changeBar));
    for (int i = 0; i < 3; ++i) {
        speedButtons_.at(i + 1)->move(toQPoint(layout.controlButtons[static_cast<std::size_t>(i)]));
    }
    QRect panel2 = toQRect(layout.panel2);
    if (horizontal) {
        panel2.moveLeft(panel1.width());
    } else {
        panel2.moveTop(panel1.height());
    }
    panel2_->setGeometry(panel2);
    for (int number = kFirstFieldButtonNumber; number <= kLastButtonNumber; ++number) {
        speedButtons_.at(number)->move(
            toQPoint(layout.fieldButtons[static_cast<std::size_t>(FieldButtonPosition(number))]));
    }
}

void TForm1::loadFaces(const std::vector<std::string>& paths) {
    faces_ = LoadButtonImages(paths);
}

void TForm1::applyButtonFaces() {
    for (int number = kFirstFieldButtonNumber; number <= kLastButtonNumber; ++number) {
        speedButtons_.at(number)->setPicture(faces_[static_cast<std::size_t>(FaceOfButton(number))]);
    }
}

void TForm1::showNameFace(int face) {
    speedButtons_.at(6)->setPicture(faces_[static_cast<std::size_t>(face)]);
}

void TForm1::setFullNameMenuPicture(int picture) {
    nameMenuPicture_ = picture;
    applyUserToMenus();
}

void TForm1::showHints(const ToolbarHints& hints) {
    for (const auto& [number, hint] : hints.buttonHints) {
        speedButtons_.at(number)->setToolTip(u(hint));
    }
    applyUserToMenus();
}

void TForm1::setCaptionAndTitle(const std::string& caption) {
    // On X11 the task bar shows the window's own title, so caption and application title are one text.
    setWindowTitle(u(caption));
}

void TForm1::SpeedButton4MouseDown(FlatButton* sender) {
    const std::optional<int> menu = PopupMenuForButtonTag(sender->tag());
    if (menu) {
        sender->popupMenu(popupMenu(*menu), QCursor::pos());
    }
}

void TForm1::SpeedButton16Click() {
    speedButtons_.at(16)->popupMenu(popupMenu(8), QCursor::pos());
}

void TForm1::showDeliveryNotice(const std::string& text) {
    if (notice_ == nullptr) {
        notice_ = new NoticeWindow(this);  // most runs never need it
    }
    notice_->showNear(u(text), frameGeometry());
}

QWidget* TForm1::dialogParent() {
    return isVisible() ? this : nullptr;
}

void TForm1::openUserFileEditor() {
    if (openers_.openUserFileEditor) {
        openers_.openUserFileEditor(*this, dialogParent());
    }
}

void TForm1::openUserFileList() {
    if (openers_.openUserFileList) {
        openers_.openUserFileList(*this, dialogParent());
    }
}

Point TForm1::framePosition() const {
    return {pos().x(), pos().y()};
}

void TForm1::moveFrame(Point topLeft) {
    // The stored position is the frame's outer corner, as pos() reports it at the end of the run. Before the
    // window is mapped its frame is unknown and move() places the client area there, so the window would
    // creep up and left by the title bar's size on every run; the move is repeated once the frame is known.
    move(toQPoint(topLeft));
    pendingFramePosition_ = toQPoint(topLeft);
}

void TForm1::placeFrameBeforeMapping() {
    if (!pendingFramePosition_ || windowHandle() == nullptr) {
        return;
    }
    // A stored position that meets no screen any more (a second monitor taken away) comes onto the nearest.
    std::vector<Rect> monitors;
    std::vector<Rect> workAreas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        monitors.push_back(fromQRect(screen->geometry()));
        workAreas.push_back(fromQRect(screen->availableGeometry()));
    }
    const Point placed = FrameOnSomeMonitor(
        {pendingFramePosition_->x(), pendingFramePosition_->y(), width(), height()}, monitors, workAreas);
    // A frame position makes the window manager place the frame, not the client area, at the point.
    windowHandle()->setFramePosition(toQPoint(placed));
    pendingFramePosition_.reset();
}
