#pragma once

#include "x11_test_support.h"

// tests/x11/helpers/paste_target as a native Wayland window (Qt's wayland platform) of the session that this
// process's environment names (WaylandSession::exportEnvironment). Its state says focus=0 or 1 while one of
// its boxes has the keyboard focus and focus=none while another window has it; window= means nothing here.
class NativeTarget : public x11test::TargetApp {
  public:
    explicit NativeTarget(const QString& title) : TargetApp(title, {}, {"QT_QPA_PLATFORM=wayland"}) {}
};

// A native GTK 3 form (tests/wayland/helpers/gtk_form.py) with five boxes: state box0 to box4 and focus=0 to
// 4 or none. GTK takes a shortcut only from the keymap it knows the seat by, unlike Qt.
class GtkForm : public x11test::TargetApp {
  public:
    explicit GtkForm(const QString& title, const QStringList& arguments = {})
        : TargetApp(title, arguments, {"GDK_BACKEND=wayland"}, ZENPORO_TEST_HELPERS_DIR "/gtk_form.py") {}
};
