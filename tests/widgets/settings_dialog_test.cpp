#include "qt/settings_dialog.h"
#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"
#include "settings_test_support.h"
#include "support/qt_app.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

using settings_tests::FakeToolbarSettings;
using settings_tests::WhenModal;

template <typename Control = QAbstractButton>
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

void Click(TForm4& dialog, const char* name) {
    QTest::mouseClick(&Find(dialog, name), Qt::LeftButton);
}

// The paste controls, one word each: E enabled or d disabled, then + checked or - unchecked.
std::string Controls(TForm4& dialog) {
    std::string state;
    for (const char* name :
         {"CheckBox1", "CheckBox2", "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"}) {
        const QAbstractButton& button = Find(dialog, name);
        state += std::string(button.isEnabled() ? "E" : "d") + (button.isChecked() ? "+" : "-") + " ";
    }
    return state;
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// Red, green and blue quadrants in the top-left 16x16 pixels, yellow beyond.
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

    QString write(const QString& name, const QImage& image, const char* format) {
        const QString path = folder_.filePath(name);
        if (format == nullptr) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        } else {
            EXPECT_TRUE(image.save(path, format)) << path.toStdString();
        }
        return path;
    }

    FakeToolbarSettings host_;
    QTemporaryDir folder_;
};

TEST_F(SettingsDialogTest, OpensWithTheControlsOfTheSettings) {
    const std::pair<ToolbarSettings, std::string> cases[] = {
        {{false, true, 0, true, true}, "E- d+ d+ d- E+ E- "},
        {{true, false, 1, true, true}, "E+ E- d- d+ E+ E- "},
        {{true, true, 2, false, true}, "E+ E+ E- E+ E- E+ "},  // any AfterKey but 0 is ENTER
        {{true, true, 0, true, true}, "E+ E+ E+ E- E+ E- "},
    };
    for (const auto& [settings, expected] : cases) {
        host_.toolbarSettings = settings;
        TForm4 dialog(host_, host_.scriptedDialogs, nullptr);
        EXPECT_EQ(Controls(dialog), expected) << expected;
    }
}

TEST_F(SettingsDialogTest, PasteBoxClicksEnableAndDisableTheKeyControls) {
    host_.toolbarSettings = {false, true, 0, true, true};
    TForm4 dialog(host_, host_.scriptedDialogs, nullptr);
    dialog.show();
    const std::pair<const char*, std::string> steps[] = {
        {"CheckBox1", "E+ E+ E+ E- E+ E- "},
        {"CheckBox2", "E+ E- d+ d- E+ E- "},
        {"CheckBox2", "E+ E+ E+ E- E+ E- "},
        {"CheckBox1", "E- d+ d+ d- E+ E- "},  // the disabled key box keeps its check mark
    };
    for (const auto& [control, expected] : steps) {
        Click(dialog, control);
        EXPECT_EQ(Controls(dialog), expected) << control;
    }
}

TEST_F(SettingsDialogTest, OkStoresTheControlsAsTheyStand) {
    host_.toolbarSettings = {true, true, 2, false, false};
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "CheckBox1");  // PasteAfter stays checked although disabled
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
    const ToolbarSettings& stored = host_.toolbarSettings;
    EXPECT_FALSE(stored.PasteOK);
    EXPECT_TRUE(stored.PasteAfter);
    EXPECT_EQ(stored.AfterKey, 1) << "ENTER is stored as 1";
    EXPECT_FALSE(stored.NextKey);
    EXPECT_FALSE(stored.FrmStyle) << "the layout setting is not the dialog's";
    EXPECT_EQ(host_.rebuilds, 1);
    // The name face is out of the dialog's reach now; MainWindowTest checks that OK leaves face 2 on it.
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxChangeNothing) {
    host_.paths[5] = SjisFromQString(write("face.bmp", Quadrants(16), "BMP"));
    const std::vector<std::string> paths = host_.paths;
    for (const bool closeBox : {false, true}) {
        host_.scriptedDialogs.answerNext(DialogAnswer::Yes);
        WhenModal<TForm4>([closeBox](TForm4& dialog) {
            Click(dialog, "CheckBox1");
            Click(dialog, "RadioButton4");
            Click(dialog, "DefaultBtn");
            closeBox ? static_cast<void>(dialog.close()) : Click(dialog, "BitBtn2");
        });
        OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
        EXPECT_TRUE(host_.toolbarSettings.PasteOK);
        EXPECT_TRUE(host_.toolbarSettings.NextKey);
        EXPECT_EQ(host_.paths, paths);
        EXPECT_EQ(host_.rebuilds, 0);
    }
}

TEST_F(SettingsDialogTest, AllDefaultAsksAndClearsOnlyOnYes) {
    const std::string bitmap = SjisFromQString(write("face.bmp", Quadrants(16), "BMP"));
    host_.paths.assign(kFaceCount, bitmap);

    host_.scriptedDialogs.answerNext(DialogAnswer::No);
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "DefaultBtn");
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
    ASSERT_EQ(host_.scriptedDialogs.asked.size(), 1u);
    const DialogRequest& question = host_.scriptedDialogs.asked[0];
    EXPECT_EQ(question.text, sjis::fromUtf8("ボタンイメージを全て標準に戻します。よろしいですか？"));
    EXPECT_EQ(question.caption, sjis::fromUtf8("確認"));
    EXPECT_EQ(question.icon, DialogIcon::Question);
    EXPECT_EQ(host_.paths, std::vector<std::string>(kFaceCount, bitmap));

    host_.scriptedDialogs.answerNext(DialogAnswer::Yes);
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "DefaultBtn");
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is restored";
        for (int i = 0; i < kFaceCount; ++i) {
            EXPECT_TRUE(PathBox(dialog, i).text().isEmpty() &&
                        SamePixels(Preview(dialog, i), BuiltInPicture(i)))
                << i;
        }
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
    EXPECT_EQ(host_.paths, std::vector<std::string>(kFaceCount));
    for (int i = 0; i < kFaceCount; ++i) {
        EXPECT_TRUE(SamePixels(host_.buttonFaces[static_cast<std::size_t>(i)], BuiltInPicture(i))) << i;
    }
}

TEST_F(SettingsDialogTest, EnterPressesTheFocusedButtonAndQuestionsBelongToTheDialog) {
    struct Case {
        const char* focused;
        bool asks;
        int rebuilds;  // OK rebuilds the faces, Cancel does not
    };
    const Case cases[] = {{"DefaultBtn", true, 0}, {"BitBtn1", false, 1}, {"BitBtn2", false, 0}};
    for (const Case& c : cases) {
        host_.rebuilds = 0;
        host_.scriptedDialogs.asked.clear();
        host_.scriptedDialogs.askedBy.clear();
        host_.scriptedDialogs.answerNext(DialogAnswer::No);
        TForm4* shown = nullptr;
        WhenModal<TForm4>([&c, &shown](TForm4& dialog) {
            shown = &dialog;
            QAbstractButton& button = Find(dialog, c.focused);
            button.setFocus();
            QTest::keyClick(&button, Qt::Key_Escape);
            EXPECT_TRUE(dialog.isVisible()) << "Escape does not end the dialog";
            QTest::keyClick(&button, Qt::Key_Return);
        });
        OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
        ASSERT_EQ(host_.scriptedDialogs.asked.size(), c.asks ? 1u : 0u) << c.focused;
        if (c.asks) {
            EXPECT_EQ(host_.scriptedDialogs.askedBy[0], static_cast<void*>(shown)) << "asked over the dialog";
        }
        EXPECT_EQ(host_.rebuilds, c.rebuilds) << c.focused;
        EXPECT_EQ(host_.scriptedDialogs.askingWindow(), nullptr)
            << "the toolbar asks again once it is closed";
    }
}

TEST_F(SettingsDialogTest, EmptyingOnePathBoxReturnsOnlyThatFace) {
    const std::string bitmap = SjisFromQString(write("face.bmp", Quadrants(16), "BMP"));
    host_.paths[0] = host_.paths[3] = bitmap;
    host_.rebuildFaces();
    const QImage userFace = host_.buttonFaces[0];
    ASSERT_FALSE(SamePixels(userFace, BuiltInPicture(0)));
    WhenModal<TForm4>([](TForm4& dialog) {
        PathBox(dialog, 3).clear();
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr, nullptr);
    EXPECT_EQ(host_.paths[0], bitmap);
    EXPECT_EQ(host_.paths[3], "");
    EXPECT_TRUE(SamePixels(host_.buttonFaces[0], userFace));
    EXPECT_TRUE(SamePixels(host_.buttonFaces[3], BuiltInPicture(3)));
}

TEST_F(SettingsDialogTest, BrowsingLoadsThePreviewByExtension) {
    QDir(folder_.path()).mkdir("old");
    const QString startPath = folder_.filePath("old/face.bmp");
    struct Case {
        const char* name;
        QString answer;  // the file dialog's answer; empty when cancelled
        bool loads;
    };
    const Case cases[] = {
        {"cancelled", {}, false},
        {"large bitmap", write("big.bmp", Quadrants(32), "BMP"), true},
        {"icon", write("face.ico", Quadrants(16), "ICO"), true},
        {"text named bmp", write("notes.bmp", {}, nullptr), false},
        {"metafile", write("drawing.wmf", {}, nullptr), false},
        {"png", write("face.png", Quadrants(16), "PNG"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString askedFolder;
        QString askedFilter;
        host_.paths[9] = SjisFromQString(startPath);
        TForm4 dialog(host_, host_.scriptedDialogs,
                      [&](QWidget*, const QString& folder, const QString& filter) {
                          askedFolder = folder;
                          askedFilter = filter;
                          return c.answer;
                      });
        dialog.show();
        const QImage before = Preview(dialog, 9);
        Click(dialog, "SpeedButton12");  // the row of face 9
        EXPECT_EQ(askedFolder, folder_.filePath("old/"));
        EXPECT_EQ(askedFilter, QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)"));
        if (c.loads) {
            EXPECT_EQ(PathBox(dialog, 9).text(), c.answer);
            const QImage preview = Preview(dialog, 9);
            ASSERT_EQ(preview.size(), QSize(16, 16));
            EXPECT_EQ(preview.pixel(2, 2), qRgb(255, 0, 0));
            EXPECT_EQ(preview.pixel(2, 12), qRgb(0, 255, 0));
            EXPECT_EQ(preview.pixel(12, 12), qRgb(0, 0, 255));
        } else {
            // A cancel keeps the path; a file that cannot be read empties it silently.
            EXPECT_EQ(PathBox(dialog, 9).text(), c.answer.isEmpty() ? startPath : QString());
            EXPECT_TRUE(SamePixels(Preview(dialog, 9), before));
        }
        EXPECT_EQ(host_.paths[9], SjisFromQString(startPath)) << "nothing outside the dialog changes";
    }
}

TEST_F(SettingsDialogTest, ABrowsedIconKeepsItsPathButNotAFace) {
    const QString icon = write("face.ico", Quadrants(16), "ICO");
    WhenModal<TForm4>([](TForm4& dialog) {
        Click(dialog, "SpeedButton1");  // face 0
        Click(dialog, "BitBtn1");
    });
    OpenSettingsDialog(host_, host_.scriptedDialogs, nullptr,
                       [&](QWidget*, const QString&, const QString&) { return icon; });
    EXPECT_EQ(host_.paths[0], SjisFromQString(icon));
    EXPECT_TRUE(SamePixels(host_.buttonFaces[0], BuiltInPicture(0))) << "only bitmaps make faces";
}

TEST_F(SettingsDialogTest, APicturePathShiftJisCannotHoldIsRefusedSayingWhy) {
    const QString picture = write(QString::fromUtf8("顔😀.bmp"), Quadrants(16), "BMP");
    TForm4 dialog(host_, host_.scriptedDialogs,
                  [&](QWidget*, const QString&, const QString&) { return picture; });
    dialog.show();
    Click(dialog, "SpeedButton1");  // face 0
    EXPECT_TRUE(PathBox(dialog, 0).text().isEmpty());
    ASSERT_EQ(host_.scriptedDialogs.asked.size(), 1u);
    EXPECT_NE(host_.scriptedDialogs.asked[0].text.find("U+1F600"), std::string::npos);
}

}  // namespace
