#pragma once

#include <QLineEdit>
#include <QValidator>

// One of the editor's single-line boxes. ENTER moves the focus on to the next control in tab order; the
// four edit shortcuts are handed to the dialog, which decides whether they act; text beyond the box's
// Shift-JIS byte limit is refused.
class EditorBox : public QLineEdit {
    Q_OBJECT
  public:
    enum class Command { Cut, Copy, Paste, Delete };

    EditorBox(int number, int maxBytes, QWidget* parent);

    int number() const { return number_; }
    int maxBytes() const { return maxBytes_; }

    // Text the dialog puts in itself: taken whatever its length, and it clears the modified flag.
    void setTextFromDialog(const QString& text);
    // The text as it was after the last change the box accepted.
    const QString& acceptedText() const { return acceptedText_; }

  signals:
    void shortcutPressed(EditorBox::Command command);
    void focusLeft(Qt::FocusReason reason);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int number_;
    int maxBytes_;
    QString acceptedText_;
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
