#include "demo/interrupt_frame.h"

#include <QGridLayout>

#include "common/palette.h"

InterruptFrame::InterruptFrame(sim::SimBoard& board) : QGroupBox("Interrupt"), board_(board) {
    lineIndicator = new Shape;
    lineIndicator->setMeaning("INT line",
                              {{Black, "high: no interrupt"}, {BrightRed, "low: interrupt asserted"}});
    lineLabel = new QLabel;
    holdLowButton = new QPushButton("Hold INT low");
    holdLowButton->setCheckable(true);
    holdLowButton->setToolTip(
        "Pulls the INT line low as a probe would; the chip's own interrupt flag (R1 bit 5) stays as it is");

    lineLabel->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lineIndicator, 0, 0);
    grid->addWidget(lineLabel, 0, 1);
    grid->addWidget(holdLowButton, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(holdLowButton, &QPushButton::toggled, this, &InterruptFrame::holdLowButton_Toggled);
    refresh();
}

void InterruptFrame::holdLowButton_Toggled(bool held) {
    board_.intLineHeldLow = held;
    holdLowButton->setText(held ? "Release INT" : "Hold INT low");
    refresh();
}

void InterruptFrame::refresh() {
    const bool high = board_.intLineHigh();
    lineIndicator->setFillColour(high ? Black : BrightRed);
    if (high) {
        lineLabel->setText("INT high: no interrupt");
    } else if (board_.chip.interruptPending()) {
        lineLabel->setText("INT low: the chip signals an interrupt");
    } else {
        lineLabel->setText("INT low: held on the board");
    }
}
