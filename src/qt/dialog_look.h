#pragma once

#include <QFrame>
#include <QString>

#include <string_view>

class QWidget;

// What the program's dialogs share in their looks: placement, framed panels and label texts.
namespace dialog_look {

// Places a top-level window in the middle of the screen it will show on (the parent's, or the primary one).
void CentreOnScreen(QWidget& window, const QWidget* parent);

// A panel framed with a lowered outer and a raised inner bevel, one pixel each.
class BevelPanel : public QFrame {
  public:
    explicit BevelPanel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace dialog_look
