#pragma once

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

// A filled indicator whose colour is a palette index. Colour is not its only carrier: a screen reader
// reads its name and, as its description, what the present colour means.
class Shape : public QWidget {
    Q_OBJECT
public:
    using StateNames = std::vector<std::pair<int, QString>>;

    explicit Shape(QWidget* parent = nullptr);

    // The indicator's name and what its colours mean; colours not listed keep the plain words
    // ("off", "dim green", "bright green", "red").
    void setMeaning(const QString& name, const StateNames& states);

    int fillColour() const { return colour_; }
    void setFillColour(int paletteIndex);
    // Activity flip: bright green becomes green, any other colour becomes bright green.
    void flipActivity();

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describeState();

    int colour_ = 0;
    StateNames states_;
};
