#pragma once

#include <QWidget>

// A place of its own in a layout for a widget whose text changes while the program runs (a progress
// line): the place keeps the widget at its own size, so a new text repaints the widget alone. Put
// straight into a layout, a label asks its whole window to lay itself out again at every new text.
class SteadyPlace : public QWidget {
    Q_OBJECT
public:
    // Takes `held` over, and its size policy with it.
    explicit SteadyPlace(QWidget* held);

    QSize sizeHint() const override { return held_->sizeHint(); }
    QSize minimumSizeHint() const override { return held_->minimumSizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* held_;
};
