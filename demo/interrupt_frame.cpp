#include "demo/interrupt_frame.h"

#include <QHBoxLayout>

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

    auto* row = new QHBoxLayout(this);
    row->addWidget(lineIndicator);
    row->addWidget(lineLabel, 1);
    row->addWidget(holdLowButton);

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
