#pragma once

#include "platform/dialogs.h"

class QWidget;

// Shows each request as a modal QMessageBox.
class QtDialogs final : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    DialogAnswer ask(const DialogRequest& request) override;

  private:
    QWidget* parent_;
};
