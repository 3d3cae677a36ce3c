#include "qt/about_box.h"

#include "data/sjis.h"
#include "dialogs/about_box_layout.h"
#include "dialogs/product_info.h"
#include "platform/qt/japanese_font.h"
#include "platform/qt/label_text.h"
#include "platform/qt/qt_sjis.h"
#include "platform/shell.h"
#include "qt/button_images.h"
#include "qt/dialog_look.h"
#include "qt/qt_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

namespace layout = about_box_layout;

QLabel* PlaceLabel(QLabel* label, const char* name, Point at, const QColor& colour) {
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(toQPoint(at));
    label->adjustSize();
    return label;
}

void Underline(QLabel& label) {
    QFont font = label.font();
    font.setUnderline(true);
    label.setFont(font);
    label.adjustSize();
    label.setCursor(Qt::PointingHandCursor);
}

// The application's icon as the window system knows it, or the program's own picture when none is set.
QPixmap ApplicationIcon() {
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        return icon.pixmap(32, 32);
    }
    return QPixmap::fromImage(ApplicationIconPicture());
}

}  // namespace

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

TAboutBox::TAboutBox(Shell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(Utf8(layout::kCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(JapaneseUiFont(12));
    setFixedSize(toQSize(layout::kClient));

    auto* panel = new dialog_look::BevelPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(toQRect(layout::kPanel1));

    programIcon_ = new QLabel(panel);
    programIcon_->setObjectName(QStringLiteral("ProgramIcon"));
    programIcon_->setGeometry(toQRect(layout::kProgramIcon));
    programIcon_->setScaledContents(true);

    PlaceLabel(new QLabel(Utf8(product_info::kProductName), panel), "ProductName", layout::kProductName,
               Qt::black);
    PlaceLabel(new QLabel(Utf8(product_info::kVersion), panel), "Version", layout::kVersion, Qt::black);
    PlaceLabel(new QLabel(Utf8(product_info::kRightsNotice), panel), "Copyright", layout::kCopyright,
               Qt::black);
    label1_ = new ClickableLabel(Utf8(product_info::kEmailAddress), panel);
    Underline(*PlaceLabel(label1_, "Label1", layout::kLabel1, Qt::blue));
    label2_ = new ClickableLabel(Utf8(product_info::kHomePage), panel);
    Underline(*PlaceLabel(label2_, "Label2", layout::kLabel2, Qt::red));

    comments_ = new QLabel(Utf8(layout::kCommentsPlaceholder), panel);
    comments_->setObjectName(QStringLiteral("Comments"));
    comments_->setGeometry(toQRect(layout::kComments));
    comments_->setWordWrap(true);
    comments_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(toQRect(layout::kOkButton));
    okButton->setDefault(true);
    okButton->setFocus();

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(label1_, &ClickableLabel::clicked, this, [this] { Label1Click(); });
    connect(label2_, &ClickableLabel::clicked, this, [this] { Label2Click(); });
    dialog_look::CentreOnScreen(*this, parent);
}

void TAboutBox::setProgramIcon(const QPixmap& icon) {
    programIcon_->setPixmap(icon);
}

void TAboutBox::setComments(const QString& text) {
    comments_->setText(text);
}

void TAboutBox::Label1Click() {
    if (shell_.openUrl("mailto:" + SjisFromQString(label1_->text()))) {
        close();
    }
}

void TAboutBox::Label2Click() {
    if (shell_.openUrl(SjisFromQString(label2_->text()))) {
        close();
    }
}

void ShowAboutBox(Shell& shell, QWidget* parent) {
    TAboutBox box(shell, parent);
    box.setProgramIcon(ApplicationIcon());
    box.setComments(LabelText(sjis::fromUtf8(product_info::kComment)));
    box.exec();
}
