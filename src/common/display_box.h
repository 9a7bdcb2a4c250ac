#pragma once

#include <QLineEdit>
#include <QPixmap>

// A read-only text box for values the program rewrites many times a second while it collects. It looks
// like any text box, but draws its frame from a picture it keeps: the style draws a text box's rounded
// frame anew at every repaint, and on a real X server that was most of what a sample cost.
class DisplayBox : public QLineEdit {
    Q_OBJECT
public:
    explicit DisplayBox(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The frame the style draws around a text box of this size, with the inside left clear.
    const QPixmap& frame();

    QPixmap frame_;
    bool frameFocused_ = false;
};

// Gives a box a new text; the same text again leaves it alone, where setText would repaint it for
// nothing (the loop rewrites its boxes at every sample, mostly with what they show already).
void showText(QLineEdit* box, const QString& text);
