#pragma once

#include <QDialog>
#include <QLabel>

class QPushButton;
class Shell;

// A label that reports a left click, for the addresses of the version box.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    ClickableLabel(const QString& text, QWidget* parent);

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The version box "ﾊﾞｰｼﾞｮﾝ情報": product, version, rights notice, the author's addresses and a comment.
// A click on an address hands it to the shell and closes the box when the shell took it.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    TAboutBox(Shell& shell, QWidget* parent = nullptr);

    void setProgramIcon(const QPixmap& icon);
    void setComments(const QString& text);

  private:
    void Label1Click();
    void Label2Click();

    Shell& shell_;
    QLabel* programIcon_ = nullptr;
    QLabel* comments_ = nullptr;
    ClickableLabel* label1_ = nullptr;
    ClickableLabel* label2_ = nullptr;
};

// The help menu's "バージョン(&A)": a fresh version box with the application's icon and the comment,
// shown modally and destroyed when it closes.
void ShowAboutBox(Shell& shell, QWidget* parent);
