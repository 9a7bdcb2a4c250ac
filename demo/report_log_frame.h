#pragma once

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstddef>

#include "platform/clock.h"
#include "sim/sim_board.h"

// The last reports the board received and answered, refreshed when asked (on a timer, never per
// report), with a pause button to read them at leisure.
class ReportLogFrame : public QGroupBox {
    Q_OBJECT
public:
    static constexpr std::size_t kLines = 200;

    // Times are shown from the clock's reading now.
    ReportLogFrame(sim::SimBoard& board, Clock& clock);

    QPlainTextEdit* logView;
    QPushButton* pauseButton;  // checkable: paused while checked

    void refresh();

private:
    sim::SimBoard& board_;
    std::uint32_t originMs_;
    std::size_t shownReceived_ = 0;
    std::size_t shownAnswered_ = 0;
};
