#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "common/shape.h"
#include "sim/sim_board.h"

// The chip's INT line (board port 1, pin 0) as a probe on the board would show it, and a button that
// holds the line low whatever the chip says.
class InterruptFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit InterruptFrame(sim::SimBoard& board);

    Shape* lineIndicator;  // bright red while the line is low
    QLabel* lineLabel;
    QPushButton* holdLowButton;  // checkable: held while checked

    void refresh();

private:
    void holdLowButton_Toggled(bool held);

    sim::SimBoard& board_;
};
