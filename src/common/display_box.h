#pragma once

#include <QLineEdit>
#include <QPixmap>
#include <QStyleOptionFrame>
#include <optional>

#include "common/painted_number.h"

// A read-only text box for values the program rewrites many times a second while it collects. It looks
// like any text box, but draws itself from a picture of its empty face and the glyphs of its text,
// looked up once per text shown: a text box draws its rounded frame and shapes its text anew at every
// repaint, and on a real X server that was most of what a sample cost. A new text repaints only the
// stretch where it differs from the text on the screen. With the focus or a selection in it, it is drawn
// as any text box is, cursor and selection too.
class DisplayBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DisplayBox(const QString& text);

    // The text box underneath lays out its own copy of the text at every change, which only the
    // cursor, a selection and a screen reader use: while none of them can, it is told to show nothing,
    // and a new text is laid out once, for the box's own picture. With the focus or a selection in the
    // box, the text box draws it. Runs again whenever that may change.
    void followReaders();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The box as the style draws it empty, on what lies behind it: its background and frame.
    const QPixmap& face();
    QStyleOptionFrame frameOption() const;
    QRect inside() const;     // within the frame
    QPoint baseline() const;  // where the text is drawn
    // Asks for a repaint of where the new text's ink or the ink of the text on the screen differ.
    void repaintChange(const QString& next);

    Backdrop backdrop_;
    QPixmap face_;
    qint64 faceOn_ = 0;  // the backdrop the face was drawn on
    NumberGlyphs glyphs_;
    std::optional<QGlyphRun> shown_;  // the glyphs on the screen; none where drawn the ordinary way
};

// A font for boxes that hold numbers: numbers need no shaping, and laying a text out without it costs a
// fraction. A text box lays its text out at every change.
QFont withoutShaping(QFont font);

// Gives a box a new text; the same text again leaves it alone, where setText would repaint it for
// nothing (the loop rewrites its boxes at every sample, mostly with what they show already).
void showText(QLineEdit* box, const QString& text);
