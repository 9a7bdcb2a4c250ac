#pragma once

#include <QLabel>

#include "common/painted_number.h"

// A label for a number the program rewrites at every sample, left-aligned and centred in height. It
// looks like any label with the same text, but draws the text from its glyphs, looked up once per new
// text that is shown: a label lays its text out and draws it through the style at every repaint, which
// cost a collected sample as much as the strip chart did. It paints what lies behind it too, from a
// picture taken once per place, so a new number repaints the label alone, not the frame behind it.
class NumberLabel : public QLabel {
    Q_OBJECT
public:
    NumberLabel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    NumberGlyphs glyphs_;
    Backdrop backdrop_;
};
