#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QPixmap>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <optional>

class QEvent;
class QWidget;

// What a widget that draws a number itself keeps between repaints, so that a new number costs only the
// number: a text box or a label lays its text out and draws its background anew each time.

// The glyphs of the number a widget shows, side by side as a line of text without shaping places them.
// They are looked up when first asked for and kept until the text changes: a widget asks when it draws
// a text or when a change reaches the screen, so a hidden one looks up none. Numbers need no shaping; a
// text with a character the font lacks has none, for the widget to draw it the ordinary way.
class NumberGlyphs {
public:
    explicit NumberGlyphs(const QFont& font) { setFont(font); }
    void setFont(const QFont& font);
    const QGlyphRun* of(const QString& text);

private:
    QRawFont font_;
    QString text_;
    std::optional<QGlyphRun> glyphs_;
};

// What lies behind a widget that paints itself whole, as its ancestors draw themselves there (their
// other children left out), where a plain widget would let them show. Taken again when the widget has
// moved in its window or resized, on a screen of another pixel ratio, and after a change of palette,
// style, enabled state or parent, which the widget passes on from its changeEvent.
class Backdrop {
public:
    const QPixmap& of(const QWidget& widget);
    void follow(const QEvent& change);

private:
    QPixmap picture_;
    QRect at_;  // where in its window the widget stood when the picture was taken
};
