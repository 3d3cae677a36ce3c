// How long a click takes to paste into a native Wayland window on GNOME, where the program waits until
// mutter holds the new clipboard before Ctrl+V, and until the window fetched the text before TAB. In a
// headless mutter with Xwayland, the real desktop portal with its test backend, and the real program: its
// toolbar is clicked through the compositor, first for pastes with TAB into a native window, then for as many
// into an X11 window of the same session as the baseline (that way waits a fixed 100 ms before Ctrl+V).
// Each click is timed from the compositor's click to the TAB's move of the focus in the window, and the
// program's log gives the two waits of each native paste.
//
//   native_paste_bench [repetitions]

#include "bench_stats.h"
#include "native_target.h"
#include "portal_session_test.h"
#include "toolbar_run.h"
#include "wayland_test_main.h"
#include "x11_test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int repetitions = 20;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The figures of the program's log lines that match, in order.
std::vector<double> loggedMilliseconds(const QString& outputFile, const char* pattern) {
    QFile file(outputFile);
    file.open(QIODevice::ReadOnly);
    const QString log = QString::fromUtf8(file.readAll());
    std::vector<double> figures;
    QRegularExpressionMatchIterator match = QRegularExpression(pattern).globalMatch(log);
    while (match.hasNext()) {
        figures.push_back(match.next().captured(1).toDouble());
    }
    return figures;
}

void printRow(const char* what, const std::vector<double>& samples) {
    std::printf("  %-64s %8.1f %8.1f %8.1f  ms\n", what, bench::median(samples),
                bench::percentile(samples, 0.9), bench::percentile(samples, 1.0));
}

class NativePasteBench : public PortalSessionTest, public ToolbarRun {
  protected:
    void SetUp() override {
        PortalSessionTest::SetUp();
        ASSERT_TRUE(outputFolder.isValid());
        programOutput = outputFolder.filePath("zenporo.log");
    }
    void TearDown() override { stop(); }

    // Clicks of the postal code's button, each timed until its TAB moved the focus to the window's other
    // box; a click whose TAB never came is left out.
    std::vector<double> timedClicks(x11test::TargetApp& window) {
        std::vector<double> times;
        for (int click = 0; click < repetitions; ++click) {
            const QString focusBefore = window.state("focus");
            const QPoint button = pointAtField(*input, 0);
            const Clock::time_point start = Clock::now();
            if (button == QPoint(-1, -1) || !input->click(button) ||
                !x11test::waitUntil([&] { return window.state("focus") != focusBefore; }, 5000)) {
                continue;
            }
            times.push_back(millisecondsSince(start));
        }
        return times;
    }

    QTemporaryDir outputFolder;
};

TEST_F(NativePasteBench, Figures) {
    start();
    NativeTarget native(QString::fromUtf8("native form"));
    ASSERT_TRUE(native.waitReady());
    ASSERT_TRUE(x11test::waitUntil([&] { return native.state("focus") == "0"; }));
    clickField(*input, 0);  // asks, and the test backend allows
    ASSERT_TRUE(
        noticeShows("「リモートデスクトップ」が許可されました。次のクリックから、キーボードで入力中の"
                    "ウィンドウに貼り付けます。"));
    const std::vector<double> nativeClicks = timedClicks(native);
    EXPECT_EQ(native.state("first"), "123-4567");

    x11test::TargetApp form(QString::fromUtf8("X11 form"));
    ASSERT_TRUE(form.waitReady());
    ASSERT_TRUE(input->click(x11test::Desktop().clientRect(form.window()).topLeft() + QPoint(5, 5)));
    ASSERT_TRUE(x11test::waitUntil([&] { return form.state("focus") == "0"; }));
    const std::vector<double> x11Clicks = timedClicks(form);
    EXPECT_EQ(form.state("first"), "123-4567");

    const std::vector<double> taken =
        loggedMilliseconds(programOutput, "the compositor held the clipboard after (\\d+) ms");
    const std::vector<double> fetched =
        loggedMilliseconds(programOutput, "the window fetched the text (\\d+) ms after that");
    std::printf("\nNative paste on headless mutter: %d clicks of the toolbar, each a paste with TAB\n",
                repetitions);
    std::printf("  %-64s %8s %8s %8s\n", "", "median", "90th pct", "max");
    printRow("native window: wait until mutter held the clipboard", taken);
    printRow("native window: wait from Ctrl+V until the window read it", fetched);
    printRow("native window: click to TAB's focus move", nativeClicks);
    printRow("baseline, X11 window (fixed 100 ms wait): click to focus move", x11Clicks);
    std::printf("  ratio of the medians, native to X11: %.2f\n",
                bench::median(nativeClicks) / std::max(1.0, bench::median(x11Clicks)));
    std::printf("  clicks that moved the focus: native %zu, X11 %zu of %d each\n\n", nativeClicks.size(),
                x11Clicks.size(), repetitions);
    EXPECT_EQ(taken.size(), nativeClicks.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::atoi(argv[argc - 1]) > 0) {
        repetitions = std::atoi(argv[argc - 1]);
    }
    return waylandtest::runTests(argc, argv, true);
}
