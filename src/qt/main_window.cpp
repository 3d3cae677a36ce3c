#include "qt/main_window.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/error_report.h"
#include "platform/qt/japanese_font.h"
#include "platform/qt/qt_sjis.h"
#include "qt/flat_button.h"
#include "qt/notice_window.h"
#include "qt/qt_geometry.h"
#include "settings/settings_file.h"
#include "toolbar/composition.h"
#include "toolbar/menu_table.h"
#include "toolbar/toolbar_layout.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

#include <algorithm>
#include <array>

namespace {

constexpr int kFirstFieldButton = 4;
constexpr int kLastFieldButton = 18;

// The face each field button shows, by its number (SpeedButton4 .. SpeedButton18).
int FaceOfButton(int number) {
    return number - kFirstFieldButton;
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

}  // namespace

TForm1::TForm1(ToolbarServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)),
      hints_(LayoutHints()),
      user_(*services_.dialogs, CurrentUser::Hooks{
                                    [this](const std::string& caption) { setCaptionAndTitle(caption); },
                                    [this] { UpdateNameFace(); },
                                    [this] { UpdateHints(); },
                                    [this] { return applicationTitle(); },
                                    [this] { return services_.today(); },
                                }) {
    setObjectName(QStringLiteral("Form1"));
    setCaptionAndTitle(sjis::fromUtf8("Zenporo！"));
    setFont(JapaneseUiFont(11));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    // The toolbar never takes the focus, so it is never the active window; its hints must show all the same.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    for (int i = 0; i < kFaceCount; ++i) {
        faces_[static_cast<std::size_t>(i)] = BuiltInPicture(i);
    }
    buildControls();
    ApplyButtonFaces();
    UpdateHints();
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
    connect(changeBtn_, &QPushButton::clicked, this, [this] { ChangeBtnClick(); });

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
    connect(speedButtons_[1], &FlatButton::clicked, this, [this] {
        if (services_.openUserFileList) {
            services_.openUserFileList(*this, this);
        }
    });
    connect(speedButtons_[2], &FlatButton::clicked, this, [this] { showMinimized(); });
    connect(speedButtons_[3], &FlatButton::clicked, this, [this] { SpeedButton3Click(); });

    for (int number = kFirstFieldButton; number <= kLastFieldButton; ++number) {
        auto* button = new FlatButton(panel2_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number));
        speedButtons_[number] = button;
    }
    // The settings, help and Next buttons have handlers of their own; the others compose a text.
    for (int number = kFirstFieldButton; number <= kLastFieldButton; ++number) {
        FlatButton* button = speedButtons_[number];
        if (number == 15) {
            connect(button, &FlatButton::clicked, this, [this] {
                if (services_.openSettings) {
                    services_.openSettings(*this, this);
                }
            });
        } else if (number == 16) {
            connect(button, &FlatButton::clicked, this, [this] { SpeedButton16Click(); });
        } else if (number == 18) {
            connect(button, &FlatButton::clicked, this, [this] { SpeedButton18Click(); });
        } else {
            connect(button, &FlatButton::clicked, this, [this, button] {
                SpeedButton7Click(ClickSender::FieldButton, button->tag(), std::nullopt);
            });
        }
        connect(button, &FlatButton::rightPressed, this, [this, button] { SpeedButton4MouseDown(button); });
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
            menuActions_.at(kMemoItems[i])->setText(u(hints_.memoCaptions[i]));
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
            SpeedButton7Click(ClickSender::MenuItem, tag, id);
        });
        return action;
    }
    // The help menu's two items open the manual and the version box.
    const auto& open = entry.id == MenuItemId::Help1 ? services_.openHelp : services_.openVersionBox;
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

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        placeFrameBeforeMapping();
    }
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
    ArrangeButtons();
}

void TForm1::ArrangeButtons() {
    const Size buttonSize = fromQSize(speedButtons_.at(1)->size());
    const ToolbarLayout layout = ArrangeButtonsLayout(settings_.FrmStyle, isOpen(), buttonSize);
    speedButtons_.at(3)->setPicture(settings_.FrmStyle ? OpenButtonStripHorizontal()
                                                       : OpenButtonStripVertical());
    setFixedSize(toQSize(layout.clientSize));
    QRect panel1 = toQRect(layout.panel1);
    // Closed, the control group fills whatever client area the platform actually gave the window.
    if (!isOpen()) {
        if (settings_.FrmStyle) {
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
    if (settings_.FrmStyle) {
        panel2.moveLeft(panel1.width());
    } else {
        panel2.moveTop(panel1.height());
    }
    panel2_->setGeometry(panel2);
    for (int number = kFirstFieldButton; number <= kLastFieldButton; ++number) {
        speedButtons_.at(number)->move(
            toQPoint(layout.fieldButtons[static_cast<std::size_t>(FieldButtonPosition(number))]));
    }
}

void TForm1::SpeedButton3Click() {
    speedButtons_.at(3)->setToolTip(QString::fromUtf8(isOpen() ? "ボタンを閉じる" : "ボタンを開く"));
    ArrangeButtons();
}

void TForm1::ChangeBtnClick() {
    settings_.FrmStyle = !settings_.FrmStyle;
    ArrangeButtons();
}

void TForm1::ApplyButtonFaces() {
    for (int number = kFirstFieldButton; number <= kLastFieldButton; ++number) {
        speedButtons_.at(number)->setPicture(faces_[static_cast<std::size_t>(FaceOfButton(number))]);
    }
}

void TForm1::rebuildFaces() {
    // Built-in faces are not decoded a second time when no path names a bitmap of the user's.
    const bool builtInOnly =
        std::ranges::all_of(buttonImagePaths_, [](const std::string& path) { return path.empty(); });
    if (!builtInOnly || !facesAreBuiltIn_) {
        faces_ = LoadButtonImages(buttonImagePaths_);
        facesAreBuiltIn_ = builtInOnly;
    }
    ApplyButtonFaces();
}

void TForm1::UpdateNameFace() {
    const NameFaceChoice choice = ChooseNameFace(user_.record());
    if (choice == NameFaceChoice::Unchanged) {
        return;
    }
    const int face = choice == NameFaceChoice::Female ? 15 : 2;
    speedButtons_.at(6)->setPicture(faces_[static_cast<std::size_t>(face)]);
    if (choice == NameFaceChoice::DefaultFaceOnly) {
        return;
    }
    nameMenuPicture_ = face;
    applyUserToMenus();
}

void TForm1::UpdateHints() {
    TakeRecordIntoHints(user_.record(), hints_, services_.today());
    for (const auto& [number, hint] : hints_.buttonHints) {
        speedButtons_.at(number)->setToolTip(u(hint));
    }
    applyUserToMenus();
}

void TForm1::setCaptionAndTitle(const std::string& sjisCaption) {
    // On X11 the task bar shows the window's own title, so caption and application title are one text.
    applicationTitle_ = sjisCaption;
    setWindowTitle(u(sjisCaption));
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

void TForm1::SpeedButton7Click(ClickSender sender, int tag, std::optional<MenuItemId> item) {
    try {
        const Composition composition =
            ComposeFieldText(sender, tag, item, user_.record(), services_.today());
        switch (composition.kind) {
            case Composition::Kind::NoUserFileNotice:
            case Composition::Kind::InvalidBirthDate:
                services_.dialogs->ask(informationNotice(composition.text));
                return;
            case Composition::Kind::SilentStop:
                return;
            case Composition::Kind::Text:
                break;
        }
        if (composition.text.empty()) {
            return;
        }
        if (services_.clipboard == nullptr || !services_.clipboard->setText(composition.text)) {
            throw cannotOpenClipboard();
        }
        if (settings_.PasteOK && services_.pasteIntoWindowBelow) {
            showDeliveryNotice(services_.pasteIntoWindowBelow(settings_), DeliveryAction::Paste);
        }
    } catch (const AppError& error) {
        ShowErrorReport(*services_.dialogs, error.message(), applicationTitle());
    }
}

void TForm1::SpeedButton18Click() {
    if (services_.pressNextKey) {
        showDeliveryNotice(services_.pressNextKey(settings_), DeliveryAction::NextKey);
    }
}

void TForm1::showDeliveryNotice(DeliveryResult result, DeliveryAction action) {
    const std::string text = DeliveryNoticeText(result, action);
    if (text.empty()) {
        return;
    }
    if (notice_ == nullptr) {
        notice_ = new NoticeWindow(this);  // most runs never need it
    }
    notice_->showNear(u(text), frameGeometry());
}

void TForm1::FormCreate() {
    buttonImagePaths_.clear();
    settingsFile_ = services_.userFileFolder + "Zenpad.ini";
    SettingsFileContents contents;
    // Each value takes effect as soon as it is read, so a read that fails midway keeps what came before.
    const bool complete =
        ReadSettingsFile(settingsFile_, contents, [this](SettingsKey key, const SettingsFileContents& read) {
            settings_ = read.settings;
            buttonImagePaths_ = read.ButtonImagePaths;
            if (key == SettingsKey::BtnDown) {
                setOpen(read.BtnDown);
            } else if (key == SettingsKey::Left || key == SettingsKey::Top) {
                moveFrameTo(QPoint(read.Left, read.Top));
            }
        });
    if (!complete) {
        return;
    }
    rebuildFaces();

    const UserFileSearch found = FindUserFiles(services_.userFileFolder, services_.log);
    if (found.count == 0) {
        if (services_.openUserFileEditor) {
            services_.openUserFileEditor(*this, nullptr, std::string());
        }
    } else if (found.count == 1) {
        user_.makeCurrent(found.firstPath);
        UpdateNameFace();
    } else if (services_.openUserFileList) {
        services_.openUserFileList(*this, nullptr);
    }
}

void TForm1::moveFrameTo(QPoint topLeft) {
    // The stored position is the frame's outer corner, as pos() reports it at the end of the run. Before the
    // window is mapped its frame is unknown and move() places the client area there, so the window would
    // creep up and left by the title bar's size on every run; the move is repeated once the frame is known.
    move(topLeft);
    pendingFramePosition_ = topLeft;
}

void TForm1::placeFrameBeforeMapping() {
    if (!pendingFramePosition_ || windowHandle() == nullptr) {
        return;
    }
    // A frame position makes the window manager place the frame, not the client area, at the point.
    windowHandle()->setFramePosition(*pendingFramePosition_);
    pendingFramePosition_.reset();
}

void TForm1::FormDestroy() {
    SettingsFileContents contents;
    contents.settings = settings_;
    contents.BtnDown = isOpen();
    contents.Left = pos().x();
    contents.Top = pos().y();
    contents.ButtonImagePaths = buttonImagePaths_;
    WriteSettingsFile(settingsFile_, contents);
}
