#include "common/shape.h"

#include <QPainter>

#include "common/palette.h"

Shape::Shape(QWidget* parent) : QWidget(parent) {
    setMinimumSize(12, 12);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the fill covers it: the frame behind need not repaint
}

void Shape::setFillColour(int paletteIndex) {
    if (colour_ == paletteIndex) return;
    colour_ = paletteIndex;
    update();
}

void Shape::flipActivity() {
    setFillColour(colour_ == BrightGreen ? Green : BrightGreen);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(paletteColour(colour_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
