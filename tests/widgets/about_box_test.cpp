#include "qt/about_box.h"
#include "data/sjis.h"
#include "dialogs/help_manual.h"
#include "dialogs/product_info.h"
#include "settings_test_support.h"
#include "support/qt_app.h"
#include "support/temporary_folder.h"

#include <QLabel>
#include <QTest>

namespace {

using settings_tests::FakeShell;
using settings_tests::WhenModal;

QLabel& Label(QWidget& box, const char* name) {
    auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
    if (label == nullptr) {
        throw std::runtime_error(std::string("no label ") + name);
    }
    return *label;
}

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { TestApplication(); }
    FakeShell shell_;
};

TEST_F(AboutBoxTest, EveryShowingIsAFreshBoxWithTheComment) {
    const QString comment = QString::fromUtf8("フリーソフトです。\n転載についてはHelpを参照して下さい。");
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        bool seen = false;
        WhenModal<TAboutBox>([&](TAboutBox& box) {
            seen = true;
            EXPECT_EQ(Label(box, "Comments").text(), comment);
            EXPECT_FALSE(Label(box, "ProgramIcon").pixmap().isNull());
            EXPECT_EQ(Label(box, "Version").text(), QString::fromUtf8("Version　1.34"));
            // A changed label must not survive into the next showing.
            Label(box, "Comments").setText(QStringLiteral("changed"));
            box.accept();
        });
        ShowAboutBox(shell_, nullptr);
        EXPECT_TRUE(seen);
    }
}

struct LabelCase {
    const char* label;
    bool shellTakesIt;
    std::string expectedUrl;
};

TEST_F(AboutBoxTest, LabelClicksHandTheirAddressToTheShell) {
    const LabelCase cases[] = {
        {"Label1", true, std::string("mailto:") + product_info::kEmailAddress},
        {"Label1", false, std::string("mailto:") + product_info::kEmailAddress},
        {"Label2", true, product_info::kHomePage},
        {"Label2", false, product_info::kHomePage},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(std::string(c.label) + (c.shellTakesIt ? " taken" : " refused"));
        FakeShell shell;
        shell.result = c.shellTakesIt;
        TAboutBox box(shell);
        box.show();
        QTest::mouseClick(&Label(box, c.label), Qt::LeftButton);
        EXPECT_EQ(shell.urls, std::vector<std::string>{c.expectedUrl});
        EXPECT_EQ(box.isVisible(), !c.shellTakesIt) << "closes on success only";
    }
}

TEST(HelpManual, OpensTheManualBesideTheExecutable) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/user/Zenporo/zenporo", "/home/user/Zenporo/zenporo.html"},
        {"/opt/zen.poro/zenporo", "/opt/zen.poro/zenporo.html"},
        {"/opt/Zenporo/zenporo.exe", "/opt/Zenporo/zenporo.html"},
        {"/opt/Zenporo/.zenporo", "/opt/Zenporo/.zenporo.html"},
    };
    for (const auto& [executable, manual] : cases) {
        FakeShell shell;
        OpenHelpManual(shell, executable);
        EXPECT_EQ(shell.files, std::vector<std::string>{manual}) << executable;
        EXPECT_TRUE(shell.urls.empty());
    }
}

TEST(HelpManual, AnInstalledProgramOpensTheManualUnderShareUnlessOneIsBesideIt) {
    const TemporaryFolder prefix;
    std::filesystem::create_directories(prefix.path() / "bin");
    std::filesystem::create_directories(prefix.path() / "share/zenporo");
    std::ofstream(prefix.path() / "share/zenporo/zenporo.html") << "manual";
    const std::string executable = prefix.text() + "bin/zenporo";
    for (const bool besideToo : {false, true}) {
        if (besideToo) {
            std::ofstream(prefix.path() / "bin/zenporo.html") << "manual";
        }
        FakeShell shell;
        OpenHelpManual(shell, executable);
        EXPECT_EQ(shell.files,
                  std::vector<std::string>{prefix.text() +
                                           (besideToo ? "bin/zenporo.html" : "share/zenporo/zenporo.html")});
    }
}

}  // namespace
