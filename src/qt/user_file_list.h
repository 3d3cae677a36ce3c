#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;
struct DialogControlPlace;
class CurrentUserHost;
class Dialogs;

// The list of user files, from which the user picks the current one, opens one in the editor, starts a new
// one or deletes one.
class TForm2 : public QDialog {
    Q_OBJECT
  public:
    // folder is the user file folder (with its trailing "/") that the list shows; applicationTitle is the
    // caption of the general error report, read when a report is shown.
    TForm2(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle, std::string folder,
           QWidget* parent = nullptr);

    QTreeWidget* list() const { return listView1_; }
    QPushButton* button(int number) const;
    // The entry texts as shown, top to bottom.
    QStringList entries() const;

    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FormCreate();
    void FormShow();
    void ListView1Change();
    std::string selectedName() const;
    QPushButton* addButton(const DialogControlPlace& place);

    CurrentUserHost& user_;
    Dialogs& dialogs_;
    const std::string& applicationTitle_;
    std::string folder_;
    bool shown_ = false;
    QLabel* label1_ = nullptr;
    QTreeWidget* listView1_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QPushButton* bitBtn3_ = nullptr;
    QPushButton* bitBtn4_ = nullptr;
    QPushButton* bitBtn5_ = nullptr;
};

// Shows the list modally on the executable's folder; returns when it has closed.
void OpenUserFileList(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                      QWidget* parent);
// The same with the user files kept in folder (with its trailing "/") instead of the executable's folder.
void OpenUserFileListInFolder(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                              QWidget* parent, const std::string& folder);
