#include "common/picture_box.h"

#include <qdrawutil.h>

#include <QPainter>
#include <cmath>

PictureBox::PictureBox(QSize outerSize, Border border, QColor background, QWidget* parent)
    : QWidget(parent), border_(border), background_(background) {
    setFixedSize(outerSize);
    const int inset = border == Border::Sunken ? 2 * kSunkenBorderWidth : 0;
    image_ = QImage(outerSize - QSize(inset, inset), QImage::Format_RGB32);
    image_.fill(background_);
}

std::optional<QRgb> PictureBox::pixel(int x, int y) const {
    if (!image_.valid(x, y)) return std::nullopt;
    return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
}

void PictureBox::setPixel(int x, int y, QRgb colour) {
    if (!image_.valid(x, y)) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour | 0xFF000000u;
}

int PictureBox::TextWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text);
}

int PictureBox::TextHeight(const QString& /*text*/) const {
    return fontMetrics().height();
}

void PictureBox::Print(const QString& text) {
    QPainter painter(&image_);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QPoint topLeft(static_cast<int>(std::lround(CurrentX)), static_cast<int>(std::lround(CurrentY)));
    painter.drawText(QRect(topLeft, QSize(TextWidth(text) + 1, TextHeight(text))), Qt::TextSingleLine, text);
    CurrentX = 0;
    CurrentY += TextHeight(text);
}

void PictureBox::Cls() {
    image_.fill(background_);
    CurrentX = 0;
    CurrentY = 0;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (border_ == Border::Sunken) {
        qDrawShadePanel(&painter, rect(), palette(), true, kSunkenBorderWidth);
        painter.drawImage(kSunkenBorderWidth, kSunkenBorderWidth, image_);
        return;
    }
    painter.drawImage(0, 0, image_);
}
