#include "dialogs/settings_dialog.h"
#include "data/sjis.h"
#include "settings_test_support.h"
#include "support/qt_app.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

using settings_tests::FakeToolbarHost;
using settings_tests::WhenModal;

template <typename Control>
Control& Find(TForm4& dialog, const QString& name) {
    auto* control = dialog.findChild<Control*>(name);
    if (control == nullptr) {
        throw std::runtime_error("no control " + name.toStdString());
    }
    return *control;
}

QLineEdit& PathBox(TForm4& dialog, int face) {
    return Find<QLineEdit>(dialog, QStringLiteral("Edit%1").arg(face));
}

QImage Preview(TForm4& dialog, int face) {
    return Find<QLabel>(dialog, QStringLiteral("Image%1").arg(face)).pixmap().toImage();
}

void Click(TForm4& dialog, const QString& name) {
    QTest::mouseClick(&Find<QAbstractButton>(dialog, name), Qt::LeftButton);
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// A picture with a distinct colour in each quadrant of its top-left 16x16 pixels.
QImage Quadrants(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.setPixel(x, y, x < 8 ? (y < 8 ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) : qRgb(0, 0, 255));
        }
    }
    return image;
}

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApplication();
        ASSERT_TRUE(folder_.isValid());
    }

    QString writePicture(const QString& name, const QImage& image, const char* format) {
        const QString path = folder_.filePath(name);
        EXPECT_TRUE(image.save(path, format)) << path.toStdString();
        return path;
    }

    QString writeText(const QString& name) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        return path;
    }

    FakeToolbarHost host_;
    QTemporaryDir folder_;
};

struct OpeningCase {
    const char* name;
    ToolbarSettings settings;
    bool afterKeyBoxChecked;
    bool afterKeyBoxEnabled;
    bool afterKeyPairEnabled;
    bool enterAfterPaste;  // RadioButton2
    bool enterForNext;     // RadioButton4
};

TEST_F(SettingsDialogTest, OpensWithTheControlsOfTheSettings) {
    const OpeningCase cases[] = {
        {"paste off, key on", {false, true, 0, true, true}, true, false, false, false, false},
        {"paste on, key off", {true, false, 1, true, true}, false, true, false, true, false},
        {"both on, AfterKey 2", {true, true, 2, false, true}, true, true, true, true, true},
        {"both on, TAB", {true, true, 0, true, true}, true, true, true, false, false},
    };
    for (const OpeningCase& c : cases) {
        SCOPED_TRACE(c.name);
        host_.toolbarSettings = c.settings;
        TForm4 dialog(host_, nullptr);
        EXPECT_EQ(Find<QCheckBox>(dialog, "CheckBox1").isChecked(), c.settings.PasteOK);
        EXPECT_EQ(Find<QCheckBox>(dialog, "CheckBox2").isChecked(), c.afterKeyBoxChecked);
        EXPECT_EQ(Find<QCheckBox>(dialog, "CheckBox2").isEnabled(), c.afterKeyBoxEnabled);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton1").isEnabled(), c.afterKeyPairEnabled);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton2").isEnabled(), c.afterKeyPairEnabled);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton1").isChecked(), !c.enterAfterPaste);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton2").isChecked(), c.enterAfterPaste);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton3").isChecked(), !c.enterForNext);
        EXPECT_EQ(Find<QRadioButton>(dialog, "RadioButton4").isChecked(), c.enterForNext);
        EXPECT_TRUE(Find<QRadioButton>(dialog, "RadioButton3").isEnabled());
    }
}

TEST_F(SettingsDialogTest, PasteBoxClicksEnableAndDisableTheKeyControls) {
    host_.toolbarSettings = {false, true, 0, true, true};
    TForm4 dialog(host_, nullptr);
    dialog.show();
    auto& afterKeyBox = Find<QCheckBox>(dialog, "CheckBox2");
    auto& tab = Find<QRadioButton>(dialog, "RadioButton1");

    Click(dialog, "CheckBox1");
    EXPECT_TRUE(afterKeyBox.isEnabled());
    EXPECT_TRUE(tab.isEnabled());
    Click(dialog, "CheckBox2");  // unchecking the key box disables the pair only
    EXPECT_TRUE(afterKeyBox.isEnabled());
    EXPECT_FALSE(tab.isEnabled());
    Click(dialog, "CheckBox2");
    EXPECT_TRUE(tab.isEnabled());
    Click(dialog, "CheckBox1");
    EXPECT_FALSE(afterKeyBox.isEnabled());
    EXPECT_TRUE(afterKeyBox.isChecked()) << "a disabled key box keeps its check mark";
    EXPECT_FALSE(tab.isEnabled());
    EXPECT_FALSE(Find<QRadioButton>(dialog, "RadioButton2").isEnabled());
}

TEST_F(SettingsDialogTest, OkStoresTheControlsAsTheyStand) {
    host_.toolbarSettings = {true, true, 2, false, false};
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "CheckBox1");  // PasteAfter stays checked although disabled
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, nullptr);
    EXPECT_FALSE(host_.toolbarSettings.PasteOK);
    EXPECT_TRUE(host_.toolbarSettings.PasteAfter);
    EXPECT_EQ(host_.toolbarSettings.AfterKey, 1) << "ENTER is stored as 1";
    EXPECT_FALSE(host_.toolbarSettings.NextKey);
    EXPECT_FALSE(host_.toolbarSettings.FrmStyle) << "the layout setting is not the dialog's";
    EXPECT_EQ(host_.rebuilds, 1);
    EXPECT_EQ(host_.nameFaceUpdates, 0);

    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "CheckBox1");
        Click(dialog, "RadioButton1");
        Click(dialog, "RadioButton3");
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, nullptr);
    EXPECT_TRUE(host_.toolbarSettings.PasteOK);
    EXPECT_EQ(host_.toolbarSettings.AfterKey, 0);
    EXPECT_TRUE(host_.toolbarSettings.NextKey);
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxChangeNothing) {
    const QString bitmap = writePicture("face.bmp", Quadrants(16), "BMP");
    host_.paths[5] = sjis::fromUnicode(bitmap);
    host_.toolbarSettings = {true, true, 0, true, true};
    const ToolbarSettings before = host_.toolbarSettings;
    const std::vector<std::string> pathsBefore = host_.paths;
    host_.scriptedDialogs.answerNext(DialogAnswer::Yes);
    host_.scriptedDialogs.answerNext(DialogAnswer::Yes);
    for (const char* ending : {"BitBtn2", "close box"}) {
        SCOPED_TRACE(ending);
        WhenModal<TForm4>([ending](TForm4& dialog) {
            Click(dialog, "CheckBox1");
            Click(dialog, "RadioButton4");
            Click(dialog, "DefaultBtn");
            if (QString::fromLatin1(ending) == "BitBtn2") {
                Click(dialog, "BitBtn2");
            } else {
                dialog.close();
            }
        });
        OpenSettingsDialog(host_, nullptr, nullptr);
        EXPECT_EQ(host_.toolbarSettings.PasteOK, before.PasteOK);
        EXPECT_EQ(host_.toolbarSettings.NextKey, before.NextKey);
        EXPECT_EQ(host_.paths, pathsBefore);
        EXPECT_EQ(host_.rebuilds, 0);
    }
}

TEST_F(SettingsDialogTest, AllDefaultAsksAndClearsOnlyOnYes) {
    const QString bitmap = writePicture("face.bmp", Quadrants(16), "BMP");
    host_.paths.assign(kFaceCount, sjis::fromUnicode(bitmap));
    host_.rebuildFaces();
    host_.rebuilds = 0;

    // "いいえ(&N)", then OK: the paths come back unchanged.
    host_.scriptedDialogs.answerNext(DialogAnswer::No);
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "DefaultBtn");
        EXPECT_EQ(PathBox(dialog, 7).text(), PathBox(dialog, 0).text());
        EXPECT_FALSE(PathBox(dialog, 7).text().isEmpty());
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, nullptr);
    ASSERT_EQ(host_.scriptedDialogs.asked.size(), 1u);
    const DialogRequest& question = host_.scriptedDialogs.asked[0];
    EXPECT_EQ(question.text, sjis::fromUtf8("ボタンイメージを全て標準に戻します。よろしいですか？"));
    EXPECT_EQ(question.caption, sjis::fromUtf8("確認"));
    EXPECT_EQ(question.icon, DialogIcon::Question);
    EXPECT_EQ(host_.paths, std::vector<std::string>(kFaceCount, sjis::fromUnicode(bitmap)));

    // "はい(&Y)", then OK: every path empty and every face built-in.
    host_.scriptedDialogs.answerNext(DialogAnswer::Yes);
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "DefaultBtn");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is restored";
        for (int i = 0; i < kFaceCount; ++i) {
            EXPECT_TRUE(PathBox(dialog, i).text().isEmpty()) << i;
            EXPECT_TRUE(SamePixels(Preview(dialog, i), BuiltInPicture(i))) << i;
        }
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, nullptr);
    EXPECT_EQ(host_.paths, std::vector<std::string>(kFaceCount));
    for (int i = 0; i < kFaceCount; ++i) {
        EXPECT_TRUE(SamePixels(host_.buttonFaces[static_cast<std::size_t>(i)], BuiltInPicture(i))) << i;
    }
}

TEST_F(SettingsDialogTest, EmptyingOnePathBoxReturnsOnlyThatFace) {
    const std::string bitmap = sjis::fromUnicode(writePicture("face.bmp", Quadrants(16), "BMP"));
    host_.paths[0] = bitmap;
    host_.paths[3] = bitmap;
    host_.rebuildFaces();
    const QImage userFace = host_.buttonFaces[0];
    ASSERT_FALSE(SamePixels(userFace, BuiltInPicture(0)));
    WhenModal<TForm4>([](TForm4& dialog) {
        PathBox(dialog, 3).clear();
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, nullptr);
    EXPECT_EQ(host_.paths[0], bitmap);
    EXPECT_EQ(host_.paths[3], "");
    EXPECT_TRUE(SamePixels(host_.buttonFaces[0], userFace));
    EXPECT_TRUE(SamePixels(host_.buttonFaces[3], BuiltInPicture(3)));
}

struct BrowseCase {
    const char* name;
    QString file;         // what the file dialog answers; empty: cancelled
    bool expectPicture;   // the preview shows the file and the path box holds it
    bool expectEmptyBox;  // the file could not be read: the box is emptied silently
};

TEST_F(SettingsDialogTest, BrowsingLoadsThePreviewByExtension) {
    const QString startPath = folder_.filePath("old/face.bmp");
    QDir(folder_.path()).mkdir("old");
    const BrowseCase cases[] = {
        {"cancelled", {}, false, false},
        {"large bitmap", writePicture("big.bmp", Quadrants(32), "BMP"), true, false},
        {"icon", writePicture("face.ico", Quadrants(16), "ICO"), true, false},
        {"text named bmp", writeText("notes.bmp"), false, true},
        {"metafile", writeText("drawing.wmf"), false, true},
        {"png by content", writePicture("face.png", Quadrants(16), "PNG"), false, true},
    };
    for (const BrowseCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString askedFolder;
        QString askedFilter;
        host_.paths[9] = sjis::fromUnicode(startPath);
        TForm4 dialog(host_, [&](QWidget*, const QString& folder, const QString& filter) {
            askedFolder = folder;
            askedFilter = filter;
            return c.file;
        });
        dialog.show();
        const QImage before = Preview(dialog, 9);
        Click(dialog, "SpeedButton12");  // the row of face 9
        EXPECT_EQ(askedFolder, folder_.filePath("old/"));
        EXPECT_EQ(askedFilter, QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)"));
        if (c.expectPicture) {
            EXPECT_EQ(PathBox(dialog, 9).text(), c.file);
            const QImage preview = Preview(dialog, 9);
            ASSERT_EQ(preview.size(), QSize(16, 16));
            EXPECT_EQ(preview.pixel(2, 2), qRgb(255, 0, 0));
            EXPECT_EQ(preview.pixel(2, 12), qRgb(0, 255, 0));
            EXPECT_EQ(preview.pixel(12, 12), qRgb(0, 0, 255));
        } else {
            EXPECT_EQ(PathBox(dialog, 9).text(), c.expectEmptyBox ? QString() : startPath);
            EXPECT_TRUE(SamePixels(Preview(dialog, 9), before));
        }
        EXPECT_EQ(host_.paths[9], sjis::fromUnicode(startPath)) << "nothing outside the dialog changes";
    }
}

TEST_F(SettingsDialogTest, ABrowsedIconKeepsItsPathButNotAFace) {
    const QString icon = writePicture("face.ico", Quadrants(16), "ICO");
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "SpeedButton1");  // face 0
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, nullptr, [&](QWidget*, const QString&, const QString&) { return icon; });
    EXPECT_EQ(host_.paths[0], sjis::fromUnicode(icon));
    EXPECT_TRUE(SamePixels(host_.buttonFaces[0], BuiltInPicture(0))) << "only bitmaps make faces";
}

TEST_F(SettingsDialogTest, KeyboardOrderFollowsTheLayout) {
    TForm4 dialog(host_, nullptr);
    QStringList order;
    QWidget* widget = &Find<QWidget>(dialog, "BitBtn1");
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->window() == &dialog) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != &Find<QWidget>(dialog, "BitBtn1"));
    const QStringList expected = {"BitBtn1",   "BitBtn2",      "RadioButton3", "RadioButton4", "CheckBox2",
                                  "CheckBox1", "RadioButton1", "RadioButton2", "Edit0",        "Edit1",
                                  "Edit2",     "Edit15",       "Edit3",        "Edit13",       "Edit4",
                                  "Edit5",     "Edit6",        "DefaultBtn",   "Edit7",        "Edit8",
                                  "Edit9",     "Edit10",       "Edit11",       "Edit12",       "Edit14"};
    EXPECT_EQ(order, expected);
}

}  // namespace
