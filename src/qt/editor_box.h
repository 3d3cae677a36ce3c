#pragma once

#include "dialogs/user_file_editor_layout.h"

#include <QLineEdit>
#include <QValidator>

#include <optional>
#include <string>

// One of the editor's single-line boxes. ENTER moves the focus on to the next control in tab order; the
// four edit shortcuts are handed to the dialog, which decides whether they act; text beyond the box's
// Shift-JIS byte limit is refused.
class EditorBox : public QLineEdit {
    Q_OBJECT
  public:
    EditorBox(int number, int maxBytes, QWidget* parent);

    int number() const { return number_; }
    int maxBytes() const { return maxBytes_; }

    // Text the dialog puts in itself: taken whatever its length, and it clears the modified flag.
    void setTextFromDialog(const QString& text);
    // Shows Shift-JIS bytes from a file and keeps them: as long as the text stays what they showed, they are
    // what the box stores, even where they hold no character or another code of the same character.
    void loadBytes(const std::string& sjisBytes);
    // The bytes loaded by loadBytes while the text is still theirs; nothing once it changed.
    std::optional<std::string> keptBytes() const;
    // keptBytes, else the text in Shift-JIS (characters it cannot hold left out).
    std::string storedBytes() const;
    // The text as it was after the last change the box accepted.
    const QString& acceptedText() const { return acceptedText_; }

  signals:
    void shortcutPressed(EditCommand command);
    void focusLeft(Qt::FocusReason reason);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int number_;
    int maxBytes_;
    QString acceptedText_;
    std::string loadedBytes_;
    QString loadedText_;
    bool loaded_ = false;
};

// Refuses a change that would take the box's text past its byte limit or put a line break into it.
class ByteLimitValidator : public QValidator {
    Q_OBJECT
  public:
    explicit ByteLimitValidator(EditorBox* box) : QValidator(box), box_(box) {}
    State validate(QString& input, int& position) const override;

  private:
    EditorBox* box_;
};
