#pragma once

#include <QWidget>

// A filled indicator whose colour is a palette index.
class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr);

    int fillColour() const { return colour_; }
    void setFillColour(int paletteIndex);
    // Activity flip: bright green becomes green, any other colour becomes bright green.
    void flipActivity();

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int colour_ = 0;
};
