#include "common/picture_box.h"

#include <qdrawutil.h>

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

PictureBox::PictureBox(QSize outerSize, Border border, QColor background, QWidget* parent)
    : QWidget(parent), border_(border), background_(background) {
    setFixedSize(outerSize);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted here: nothing to paint beneath
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

PixelView PictureBox::pixels() {
    return {reinterpret_cast<QRgb*>(image_.bits()),
            image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)), image_.width(), image_.height()};
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
    Refresh();
}

void PictureBox::Refresh(const QRect& changed) {
    update(changed.intersected(image_.rect()).translated(inset(), inset()));
}

void PictureBox::RefreshMoved(const QRect& area, int dx) {
    const QRect moved = area.intersected(image_.rect());
    // Qt leaves the scroll of an empty area undefined; a band right of the picture is one.
    if (!moved.isEmpty()) scroll(dx, 0, moved.translated(inset(), inset()));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect interior(QPoint(inset(), inset()), image_.size());
    // The border never changes: it is drawn when a repaint reaches it (the picture shown or uncovered),
    // not each time the image changes. Drawing it cost more than the image it frames.
    if (!interior.contains(event->rect())) qDrawShadePanel(&painter, rect(), palette(), true, inset());
    // Only what needs showing: a child picture covers part of this one, and after a move only a few
    // strips far apart need it. Each strip is copied on its own: drawn through a clip of many strips,
    // the image goes row by row through helper threads, which cost more than the copy.
    for (const QRect& part : event->region()) {
        const QRect shown = part.intersected(interior);
        painter.setClipRect(shown);
        painter.drawImage(shown.topLeft(), image_, shown.translated(-inset(), -inset()));
    }
}
