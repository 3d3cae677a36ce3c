#pragma once

#include <QApplication>

// Widget tests share one QApplication, made on first use (the suites link GoogleTest's own main).
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "zenporo-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
