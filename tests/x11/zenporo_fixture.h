#pragma once

#include "x11_test_support.h"
#include "zenporo_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QPoint& point, std::ostream* out) {
    *out << "(" << point.x() << ", " << point.y() << ")";
}
inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << "x" << size.height();
}

namespace x11test {

// Waits until what read() gives equals expected: the window manager may still be placing a window that has
// just appeared. The failure message shows the last value seen.
template <typename T, typename Read>
::testing::AssertionResult settlesAt(Read read, const T& expected) {
    T last{};
    if (waitUntil([&] {
            last = read();
            return last == expected;
        })) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "still " << ::testing::PrintToString(last) << " instead of "
                                         << ::testing::PrintToString(expected);
}

// A fresh folder with the program and one user file, 山田花子.zpd, so that it starts without a dialog.
class ZenporoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs an X display";
        }
        application();  // before the folder: it finds the program beside the test program
        folder_ = std::make_unique<ZenporoFolder>();
        ASSERT_TRUE(folder_->isValid());
        desktop_ = std::make_unique<Desktop>();
        ASSERT_TRUE(desktop_->isOpen());
        ASSERT_TRUE(folder_->writeFile(QString::fromUtf8("山田花子.zpd"), userFileBytes(hanako())));
    }

    ZenporoFolder& folder() { return *folder_; }
    Desktop& desktop() { return *desktop_; }

    auto clientSizeOf(unsigned long window) {
        return [this, window] { return desktop().clientRect(window).size(); };
    }
    auto frameTopLeftOf(unsigned long window) {
        return [this, window] { return desktop().frameTopLeft(window).value_or(QPoint(-99999, -99999)); };
    }

    const QString toolbarTitle = QString::fromUtf8("山田花子 - Zenporo！");

  private:
    std::unique_ptr<ZenporoFolder> folder_;
    std::unique_ptr<Desktop> desktop_;
};

}  // namespace x11test
