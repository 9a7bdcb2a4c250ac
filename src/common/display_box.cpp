#include "common/display_box.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

DisplayBox::DisplayBox(const QString& text) : QLineEdit(text) {
    setReadOnly(true);
    // The box paints itself whole, so a new text repaints the box alone, not the frame behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // We draw the frame; the text keeps the place it has inside a styled frame.
    setFrame(false);
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    setTextMargins(border, border, border, border);
}

void DisplayBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter(this).drawPixmap(0, 0, frame());
}

const QPixmap& DisplayBox::frame() {
    const qreal ratio = devicePixelRatioF();
    if (frame_.size() == size() * ratio && frameFocused_ == hasFocus()) return frame_;
    frame_ = QPixmap(size() * ratio);
    frame_.setDevicePixelRatio(ratio);
    frame_.fill(Qt::transparent);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    QPainter painter(&frame_);
    style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, this);
    frameFocused_ = hasFocus();
    return frame_;
}

void showText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}
