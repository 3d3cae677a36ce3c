#include "qt/settings_dialog.h"

#include "data/sjis.h"
#include "dialogs/box_text.h"
#include "dialogs/settings_dialog_layout.h"
#include "dialogs/settings_rules.h"
#include "platform/dialogs.h"
#include "platform/qt/japanese_font.h"
#include "platform/qt/label_text.h"
#include "platform/qt/qt_sjis.h"
#include "qt/button_images.h"
#include "qt/dialog_look.h"
#include "qt/qt_geometry.h"
#include "qt/settings_preview.h"
#include "qt/toolbar_settings_host.h"
#include "qt/user_dialog_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

using settings_rules::FaceRow;
namespace layout = settings_dialog_layout;

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString StartFolder(const QString& pathText) {
    return QString::fromStdU16String(
        settings_rules::StartFolderOf(pathText.toStdU16String(), settings_rules::kPosixPathSeparators));
}

// The busy cursor for as long as it lives, so it is restored on every path.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The small picture of the browse buttons: an open yellow folder, 14x14.
QPixmap BrowseButtonPicture() {
    QPixmap picture(14, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(128, 96, 0));
    painter.setBrush(QColor(255, 220, 96));
    painter.drawRect(1, 4, 11, 8);
    painter.drawRect(1, 2, 5, 2);
    painter.setBrush(QColor(255, 240, 160));
    painter.drawPolygon(QPolygon({QPoint(3, 7), QPoint(13, 7), QPoint(11, 12), QPoint(1, 12)}));
    return picture;
}

template <typename Control>
Control* Place(Control* control, const char* name, const Rect& place) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(toQRect(place));
    return control;
}

// A control of the layout with its caption.
template <typename Control>
Control* Place(QWidget* parent, const DialogControlPlace& place) {
    return Place(new Control(Utf8(place.text), parent), place.name, place.place);
}

QWidget* MakePanel(QWidget* parent, const char* name, const Rect& place) {
    return Place(new dialog_look::BevelPanel(parent), name, place);
}

void ShowPicture(QLabel& preview, const QImage& picture) {
    preview.setPixmap(QPixmap::fromImage(picture));
    preview.repaint();
}

}  // namespace

QString ChoosePictureFile(QWidget* parent, const QString& startFolder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), startFolder, filter);
}

TForm4::TForm4(ToolbarSettingsHost& host, Dialogs& dialogs, PictureFileChooser chooser, QWidget* parent)
    : QDialog(parent),
      host_(host),
      dialogs_(dialogs),
      chooser_(chooser ? std::move(chooser) : PictureFileChooser(ChoosePictureFile)) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(Utf8(layout::kCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(JapaneseUiFont(12));
    setFixedSize(toQSize(layout::kClient));
    buildPastePanel();
    buildNextKeyPanel();
    buildPicturePanel();
    buildButtons();
    setKeyboardOrder();
    FormCreate();
    dialog_look::CentreOnScreen(*this, parent);
}

void TForm4::buildPastePanel() {
    pastePanel_ = MakePanel(this, "Panel2", layout::kPanel2);
    checkBox1_ = Place<QCheckBox>(pastePanel_, layout::kCheckBox1);
    checkBox2_ = Place<QCheckBox>(pastePanel_, layout::kCheckBox2);
    radioButton1_ = Place<QRadioButton>(pastePanel_, layout::kRadioButton1);
    radioButton2_ = Place<QRadioButton>(pastePanel_, layout::kRadioButton2);
    connect(checkBox1_, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(checkBox2_, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
}

void TForm4::buildNextKeyPanel() {
    nextKeyPanel_ = MakePanel(this, "Panel1", layout::kPanel1);
    auto* label1 = new QLabel(Utf8(layout::kLabel1.text), nextKeyPanel_);
    label1->setObjectName(QString::fromLatin1(layout::kLabel1.name));
    label1->move(toQPoint(layout::kLabel1.place.topLeft()));
    label1->adjustSize();
    radioButton3_ = Place<QRadioButton>(nextKeyPanel_, layout::kRadioButton3);
    radioButton4_ = Place<QRadioButton>(nextKeyPanel_, layout::kRadioButton4);
}

void TForm4::buildPicturePanel() {
    picturePanel_ = MakePanel(this, "Panel3", layout::kPanel3);
    const QPixmap browsePicture = BrowseButtonPicture();
    for (const FaceRow& row : settings_rules::FaceRows()) {
        const QByteArray index = QByteArray::number(row.face);
        auto* image =
            Place(new QLabel(picturePanel_), ("Image" + index).constData(), layout::PreviewPlace(row));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* edit =
            Place(new QLineEdit(picturePanel_), ("Edit" + index).constData(), layout::PathBoxPlace(row));
        const QByteArray buttonName = "SpeedButton" + QByteArray::number(row.browseButton);
        auto* browse =
            Place(new QToolButton(picturePanel_), buttonName.constData(), layout::BrowseButtonPlace(row));
        browse->setIcon(browsePicture);
        browse->setIconSize(QSize(layout::kBrowsePictureSize, layout::kBrowsePictureSize));
        browse->setFocusPolicy(Qt::NoFocus);
        browse->setProperty("Tag", row.face);
        const int face = row.face;
        connect(browse, &QToolButton::clicked, this, [this, face] { SpeedButton1Click(face); });
        images_[static_cast<std::size_t>(face)] = image;
        edits_[static_cast<std::size_t>(face)] = edit;
    }
    defaultBtn_ = Place<QPushButton>(picturePanel_, layout::kDefaultBtn);
    connect(defaultBtn_, &QPushButton::clicked, this, [this] { DefaultBtnClick(); });
    label2_ = new QLabel(picturePanel_);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->move(toQPoint(layout::kLabel2));
    QFont bold = font();
    bold.setBold(true);
    label2_->setFont(bold);
    QPalette red = label2_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    label2_->setPalette(red);
}

void TForm4::buildButtons() {
    bitBtn1_ = Place<QPushButton>(this, layout::kBitBtn1);
    bitBtn2_ = Place<QPushButton>(this, layout::kBitBtn2);
    // Neither button answers ENTER or Escape by itself; ENTER presses whichever button holds the focus.
    for (QPushButton* button : {bitBtn1_, bitBtn2_, defaultBtn_}) {
        MakeFocusOnlyButton(button);
    }
    connect(bitBtn1_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(bitBtn2_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void TForm4::setKeyboardOrder() {
    std::vector<QWidget*> order = {bitBtn1_,   bitBtn2_,   radioButton3_, radioButton4_,
                                   checkBox2_, checkBox1_, radioButton1_, radioButton2_};
    const auto& boxes = settings_rules::PathBoxTabOrder();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i == settings_rules::kPathBoxesBeforeDefaultButton) {
            order.push_back(defaultBtn_);
        }
        order.push_back(edits_[static_cast<std::size_t>(boxes[i])]);
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    bitBtn1_->setFocus();
}

void TForm4::FormCreate() {
    label2_->setText(LabelText(settings_rules::ResetHintText()));
    label2_->adjustSize();
    const settings_rules::PasteControls controls = settings_rules::ControlsFromSettings(host_.settings());
    checkBox1_->setChecked(controls.pasteChecked);
    checkBox2_->setChecked(controls.afterKeyChecked);
    CheckBox1Click();
    CheckBox2Click();
    radioButton1_->setChecked(controls.afterKeyTab);
    radioButton2_->setChecked(!controls.afterKeyTab);
    radioButton3_->setChecked(controls.nextKeyTab);
    radioButton4_->setChecked(!controls.nextKeyTab);
    const ButtonFaces& faces = host_.faces();
    const std::vector<std::string>& paths = host_.buttonImagePaths();
    for (std::size_t i = 0; i < kFaceCount; ++i) {
        images_[i]->setPixmap(QPixmap::fromImage(faces[i]));
        edits_[i]->setText(i < paths.size() ? QStringFromSjis(paths[i]) : QString());
        edits_[i]->setCursorPosition(0);  // show where a long path starts
    }
}

void TForm4::CheckBox1Click() {
    checkBox2_->setEnabled(settings_rules::AfterKeyBoxEnabled(checkBox1_->isChecked()));
    CheckBox2Click();
}

void TForm4::CheckBox2Click() {
    const bool enabled =
        settings_rules::AfterKeyPairEnabled(checkBox2_->isChecked(), checkBox2_->isEnabled());
    radioButton1_->setEnabled(enabled);
    radioButton2_->setEnabled(enabled);
}

void TForm4::SpeedButton1Click(int face) {
    QLineEdit& edit = *edits_[static_cast<std::size_t>(face)];
    QLabel& preview = *images_[static_cast<std::size_t>(face)];
    const QString chosen = chooser_(this, StartFolder(edit.text()), Utf8(settings_rules::kBitmapFilterUtf8));
    if (chosen.isEmpty()) {
        return;
    }
    // A path that Shift-JIS cannot hold would be stored damaged; it is refused, with the reason.
    const std::string unstorable = UnstorableCharacterNames(chosen.toStdU16String());
    if (!unstorable.empty()) {
        dialogs_.ask(settings_rules::UnstorablePathNotice(unstorable));
        edit.clear();
        return;
    }
    const std::optional<QImage> picture = LoadPreviewPicture(chosen);
    if (!picture) {
        edit.clear();
        return;
    }
    ShowPicture(preview, *picture);
    edit.setText(chosen);
    edit.setCursorPosition(0);
}

void TForm4::DefaultBtnClick() {
    if (dialogs_.ask(settings_rules::ResetAllQuestion()) != DialogAnswer::Yes) {
        return;
    }
    const BusyCursor busy;
    for (int i = 0; i < kFaceCount; ++i) {
        edits_[static_cast<std::size_t>(i)]->clear();
        ShowPicture(*images_[static_cast<std::size_t>(i)], BuiltInPicture(i));
    }
}

void TForm4::BitBtn1Click() {
    const settings_rules::PasteControls controls{checkBox1_->isChecked(), checkBox2_->isChecked(),
                                                 radioButton1_->isChecked(), radioButton3_->isChecked()};
    settings_rules::StoreControls(controls, host_.settings());
    accept();
}

void TForm4::BitBtn2Click() {
    reject();
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    // No default and no cancel button: Escape does not end the dialog, ENTER presses the focused button.
    if (HandleDialogKey(this, event)) {
        return;
    }
    QDialog::keyPressEvent(event);
}

std::vector<std::string> TForm4::pathTexts() const {
    std::vector<std::string> paths;
    paths.reserve(kFaceCount);
    for (const QLineEdit* edit : edits_) {
        paths.push_back(SjisFromQString(edit->text()));
    }
    return paths;
}

void OpenSettingsDialog(ToolbarSettingsHost& host, Dialogs& dialogs, QWidget* parent,
                        PictureFileChooser chooser) {
    TForm4 dialog(host, dialogs, std::move(chooser), parent);
    const AskingWindowScope asking(dialogs, &dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    host.buttonImagePaths() = dialog.pathTexts();
    host.rebuildFaces();
}
