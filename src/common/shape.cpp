#include "common/shape.h"

#include <QPainter>

#include "common/palette.h"

Shape::Shape(QWidget* parent) : QWidget(parent) {
    setMinimumSize(12, 12);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the fill covers it: the frame behind need not repaint
    describeState();
}

void Shape::setMeaning(const QString& name, const StateNames& states) {
    setAccessibleName(name);
    states_ = states;
    describeState();
}

void Shape::setFillColour(int paletteIndex) {
    if (colour_ == paletteIndex) return;
    colour_ = paletteIndex;
    describeState();
    update();
}

void Shape::describeState() {
    for (const auto& [colour, state] : states_) {
        if (colour == colour_) {
            setAccessibleDescription(state);
            return;
        }
    }
    switch (colour_) {
        case Black:
            setAccessibleDescription("off");
            return;
        case Green:
            setAccessibleDescription("dim green");
            return;
        case BrightGreen:
            setAccessibleDescription("bright green");
            return;
        case BrightRed:
            setAccessibleDescription("red");
            return;
        default:
            setAccessibleDescription(QString("colour %1").arg(colour_));
    }
}

void Shape::flipActivity() {
    setFillColour(colour_ == BrightGreen ? Green : BrightGreen);
}

void Shape::paintEvent(QPaintEvent*) {
    // A black outline around the fill, as two plain fills: an outlined rectangle costs many times more.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), paletteColour(colour_));
}
