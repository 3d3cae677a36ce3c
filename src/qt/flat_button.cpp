#include "qt/flat_button.h"

#include "qt/button_images.h"
#include "qt/qt_geometry.h"
#include "toolbar/button_picture.h"

#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

FlatButton::FlatButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(sizeHint());
}

void FlatButton::setPicture(const QImage& picture) {
    picture_ = FaceWithTransparency(picture);
    update();
}

void FlatButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool down = isDown() || isChecked();
    if (hovered_ || down) {
        QStyleOption option;
        option.initFrom(this);
        option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter, this);
    }
    ButtonPictureState state = ButtonPictureState::Up;
    if (!isEnabled()) {
        state = ButtonPictureState::Disabled;
    } else if (isDown()) {
        state = ButtonPictureState::Pressed;
    } else if (isChecked()) {
        state = ButtonPictureState::Down;
    }
    const QRect source = toQRect(StatePictureRect(fromQSize(picture_.size()), state));
    if (source.isEmpty()) {
        return;
    }
    QRect target(QPoint(0, 0), source.size());
    target.moveCenter(rect().center());
    if (down) {
        target.translate(1, 1);
    }
    painter.drawImage(target, picture_, source);
}

void FlatButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightPressed();
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void FlatButton::mouseReleaseEvent(QMouseEvent* event) {
    // The release emits clicked(), whose handler asks when the click was made.
    clickTime_ = static_cast<std::uint32_t>(event->timestamp());
    QAbstractButton::mouseReleaseEvent(event);
    clickTime_.reset();
}

void FlatButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void FlatButton::popupMenu(QMenu* menu, const QPoint& at) {
    connect(menu, &QMenu::aboutToHide, this, &FlatButton::followPointer, Qt::UniqueConnection);
    menu->popup(at);
}

void FlatButton::followPointer() {
    const bool over = isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
    if (over != hovered_) {
        hovered_ = over;
        update();
    }
}
