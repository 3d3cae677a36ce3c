#include "qt/editor_box.h"

#include "data/sjis.h"
#include "dialogs/box_text.h"
#include "platform/qt/qt_sjis.h"

#include <QKeyEvent>

#include <limits>
#include <optional>

namespace {

// The edit shortcuts the dialog's popup menu owns: Ctrl+X, Ctrl+C, Ctrl+V and Del, and the platform's other
// keys for the same commands (Shift+Del, Ctrl+Ins, Shift+Ins), so that no paste bypasses the first-line rule.
std::optional<EditCommand> commandFor(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Cut)) {
        return EditCommand::Cut;
    }
    if (event->matches(QKeySequence::Copy)) {
        return EditCommand::Copy;
    }
    if (event->matches(QKeySequence::Paste)) {
        return EditCommand::Paste;
    }
    if (event->key() == Qt::Key_Delete && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        return EditCommand::Delete;
    }
    return std::nullopt;
}

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

EditorBox::EditorBox(int number, int maxBytes, QWidget* parent)
    : QLineEdit(parent), number_(number), maxBytes_(maxBytes) {
    setObjectName(QStringLiteral("Edit%1").arg(number));
    setValidator(new ByteLimitValidator(this));
    // The boxes are as narrow as the layout's; the toolkit's inner margin would hide a full eight-character
    // postal code, so the text starts as close to the frame as in the platform's own text boxes.
    setTextMargins(-2, 0, -2, 0);
    // The toolkit's own limit of 32,767 characters would cut a longer field from a file; the byte limit is
    // the validator's.
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { acceptedText_ = text; });
}

void EditorBox::setTextFromDialog(const QString& text) {
    acceptedText_ = text;
    setText(text);
    setModified(false);
}

void EditorBox::loadBytes(const std::string& sjisBytes) {
    setTextFromDialog(QStringFromSjis(sjisBytes));
    loadedBytes_ = sjisBytes;
    loadedText_ = text();
    loaded_ = true;
}

std::optional<std::string> EditorBox::keptBytes() const {
    if (!loaded_ || text() != loadedText_) {
        return std::nullopt;
    }
    return loadedBytes_;
}

std::string EditorBox::storedBytes() const {
    if (auto kept = keptBytes()) {
        return std::move(*kept);
    }
    return SjisFromQString(text());
}

bool EditorBox::event(QEvent* event) {
    // Claim the shortcut keys before any window shortcut can take them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (commandFor(key) || isEnter(key)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void EditorBox::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event)) {
        focusNextChild();
        event->accept();
        return;
    }
    if (const auto command = commandFor(event)) {
        emit shortcutPressed(*command);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditorBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLeft(event->reason());
}

QValidator::State ByteLimitValidator::validate(QString& input, int& /*position*/) const {
    const bool accepted =
        AcceptsBoxText(input.toStdU16String(), box_->acceptedText().toStdU16String(), box_->maxBytes());
    return accepted ? Acceptable : Invalid;
}
