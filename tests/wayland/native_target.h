#pragma once

#include "x11_test_support.h"

// tests/x11/helpers/paste_target as a native Wayland window (Qt's wayland platform) of the session that this
// process's environment names (WaylandSession::exportEnvironment). Its state says focus=0 or 1 while one of
// its boxes has the keyboard focus and focus=none while another window has it; window= means nothing here.
class NativeTarget : public x11test::TargetApp {
  public:
    explicit NativeTarget(const QString& title) : TargetApp(title, {}, {"QT_QPA_PLATFORM=wayland"}) {}
};
