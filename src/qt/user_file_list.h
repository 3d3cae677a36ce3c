#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;
class ToolbarHost;

// The list of user files, from which the user picks the current one, opens one in the editor, starts a new
// one or deletes one.
class TForm2 : public QDialog {
    Q_OBJECT
  public:
    // folder is the user file folder (with its trailing "/") that the list shows.
    TForm2(ToolbarHost& host, std::string folder, QWidget* parent = nullptr);

    QTreeWidget* list() const { return ListView1; }
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
    QPushButton* addButton(int number, const char* caption, int top);

    ToolbarHost& host_;
    std::string folder_;
    bool shown_ = false;
    QLabel* Label1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
};

// Shows the list modally on the executable's folder; returns when it has closed.
void OpenUserFileList(ToolbarHost& host, QWidget* parent);
// The same with the user files kept in folder (with its trailing "/") instead of the executable's folder.
void OpenUserFileListInFolder(ToolbarHost& host, QWidget* parent, const std::string& folder);
