#pragma once

#include "platform/dialogs.h"

class QWidget;

// Shows each request as a modal QMessageBox over the asking window (a QWidget*), or in the middle of the
// screen when the toolbar asks.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    // The toolbar: it owns the boxes that no dialog window asks, so they stay above it.
    void setParent(QWidget* parent) { parent_ = parent; }
    DialogAnswer ask(const DialogRequest& request) override;

  private:
    QWidget* parent_;
};
