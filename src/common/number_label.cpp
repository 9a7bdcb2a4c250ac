#include "common/number_label.h"

#include <QEvent>
#include <QPainter>

#include "common/display_box.h"

NumberLabel::NumberLabel() : glyphs_(withoutShaping(font())) {
    setTextFormat(Qt::PlainText);
    setFont(withoutShaping(font()));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void NumberLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, backdrop_.of(*this));
    const QGlyphRun* glyphs = glyphs_.of(text());
    // A frame, a text the font cannot show in its glyphs alone or a right-to-left layout: as any label.
    if (!glyphs || frameWidth() != 0 || isRightToLeft()) {
        painter.end();
        QLabel::paintEvent(event);
        return;
    }
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.setPen(palette().color(foregroundRole()));
    // Where a label's line of text stands: centred in height, its baseline at the font's ascent.
    const QFontMetricsF metrics(font());
    const qreal top = inside.top() + (inside.height() - metrics.ascent() - metrics.descent()) / 2;
    painter.drawGlyphRun(QPointF(inside.left(), top + metrics.ascent()), *glyphs);
}

void NumberLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) glyphs_.setFont(font());
    backdrop_.follow(*event);
}
