#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Dialogs;
class ToolbarSettingsHost;

// Asks for a picture file, starting in startFolder (empty: the file dialog's own default folder), offering
// the one filter given. Returns the chosen file's full path, or an empty string when the user cancels.
using PictureFileChooser =
    std::function<QString(QWidget* parent, const QString& startFolder, const QString& filter)>;

// The toolkit's open-file dialog.
QString ChoosePictureFile(QWidget* parent, const QString& startFolder, const QString& filter);

// The settings dialog "設定": paste behaviour, the Next key and the sixteen button pictures. OK stores the
// four paste settings in the host at once; the caller takes the path boxes over afterwards. Questions go
// through dialogs. Without a chooser the browse buttons use the toolkit's open-file dialog.
class TForm4 : public QDialog {
    Q_OBJECT
  public:
    TForm4(ToolbarSettingsHost& host, Dialogs& dialogs, PictureFileChooser chooser,
           QWidget* parent = nullptr);

    // The texts of path boxes 0 to 15, in face order, exactly as they stand (Shift-JIS).
    std::vector<std::string> pathTexts() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildPastePanel();
    void buildNextKeyPanel();
    void buildPicturePanel();
    void buildButtons();
    void setKeyboardOrder();

    void FormCreate();
    void CheckBox1Click();
    void CheckBox2Click();
    // The browse button of every picture row (SpeedButton1 to SpeedButton16), told apart by its face.
    void SpeedButton1Click(int face);
    void DefaultBtnClick();
    void BitBtn1Click();
    void BitBtn2Click();

    ToolbarSettingsHost& host_;
    Dialogs& dialogs_;
    PictureFileChooser chooser_;

    QCheckBox* checkBox1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QRadioButton* radioButton1_ = nullptr;
    QRadioButton* radioButton2_ = nullptr;
    QRadioButton* radioButton3_ = nullptr;
    QRadioButton* radioButton4_ = nullptr;
    QPushButton* defaultBtn_ = nullptr;
    QLabel* label2_ = nullptr;
    QPushButton* bitBtn1_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    std::array<QLabel*, 16> images_{};    // by face index
    std::array<QLineEdit*, 16> edits_{};  // by face index
    QWidget* pastePanel_ = nullptr;
    QWidget* nextKeyPanel_ = nullptr;
    QWidget* picturePanel_ = nullptr;
};

// The settings button's handler: shows a fresh dialog modally and, when it ends with OK, replaces the
// host's picture paths by the path boxes and rebuilds the faces. The name button's face is left as the
// rebuild puts it until the next user file load chooses it again.
void OpenSettingsDialog(ToolbarSettingsHost& host, Dialogs& dialogs, QWidget* parent,
                        PictureFileChooser chooser = ChoosePictureFile);
