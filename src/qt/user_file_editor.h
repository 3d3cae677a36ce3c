#pragma once

#include "dialogs/user_file_editor_layout.h"
#include "qt/editor_box.h"

#include <QDialog>

#include "data/birth_date.h"

#include <array>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class CurrentUserHost;
class Dialogs;

// The user file editor: one box per field of a user record and one for the file name; OK stores them as a
// user file and offers it to the main window.
class TForm3 : public QDialog {
    Q_OBJECT
  public:
    // folder is the user file folder (with its trailing "/"), where OK stores the file; applicationTitle is
    // the caption of the general error report, read when a report is shown.
    TForm3(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle, std::string folder,
           QWidget* parent = nullptr);

    // Fills the boxes from a user file, or leaves them empty for an empty path; AppError when the file
    // cannot be read.
    void LoadUserFileIntoBoxes(const std::string& path);
    bool AnyBoxModified() const;
    // The date the age box is worked out against; the local date unless a test pins it.
    void setToday(std::function<CalendarDate()> today) { today_ = std::move(today); }

    EditorBox* box(int number) const { return boxes_[static_cast<std::size_t>(number - 1)]; }
    QPushButton* okButton() const { return bitBtn1_; }
    QPushButton* cancelButton() const { return bitBtn2_; }
    QMenu* popupMenu() const { return popupMenu1_; }

    void BitBtn1Click();
    void PopupMenu1Popup();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void createBoxes();
    void createLabels();
    void createButtons();
    void createPopupMenu();
    // Leaving any of the three birth-date boxes (Edit29 to Edit31).
    void Edit31Exit();
    void runShortcut(EditCommand command);
    QAction*& menuItem(EditCommand command);
    void runCommand(EditCommand command);
    EditorBox* focusedBox() const;
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void DDel1Click();

    CurrentUserHost& user_;
    Dialogs& dialogs_;
    const std::string& applicationTitle_;
    std::string folder_;
    std::string loadedFileName_;
    std::function<CalendarDate()> today_ = TodayLocal;
    std::array<EditorBox*, kEditorBoxCount> boxes_{};
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    QAction* cut1_ = nullptr;
    QAction* copy1_ = nullptr;
    QAction* paste1_ = nullptr;
    QAction* dDel1_ = nullptr;
};

// Shows the editor modally on the file at path, or on a new, empty record when path is empty, then refreshes
// the main window's name face. An AppError from reading the file passes on to the caller; the dialog is
// then not shown.
void OpenUserFileEditor(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                        QWidget* parent, const std::string& path);
// The same with the user files kept in folder (with its trailing "/") instead of the executable's folder.
void OpenUserFileEditorInFolder(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                                QWidget* parent, const std::string& path, const std::string& folder);
