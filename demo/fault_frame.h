#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "sim/sim_bus.h"

// Faults a person can cause on the simulated board: unplugging it, lost and late answers, a chip
// that does not acknowledge, a second board on the bus. Each goes through the board's own interface.
class FaultFrame : public QGroupBox {
    Q_OBJECT
public:
    // An answer this late comes after the program's reader has given up (it waits 6000 ms).
    static constexpr std::uint32_t kLateByMs = 7000;
    static constexpr int kReplugAfterMs = 10000;
    // The second board sits under a steady light of its own, so it is easy to tell apart.
    static constexpr double kSecondBoardLux = 500;

    FaultFrame(sim::SimBus& bus, sim::SimBoard& board);

    QPushButton* unplugButton;
    QPushButton* plugButton;
    QPushButton* unplugForAWhileButton;  // plugs back in by itself after kReplugAfterMs
    QTimer* replugTimer;
    QSpinBox* dropCountBox;
    QPushButton* dropButton;
    QPushButton* lateButton;
    QCheckBox* noAcknowledgeBox;
    QCheckBox* secondBoardBox;
    QLabel* pendingLabel;  // what the board still has in store

    void unplug();
    void plugIn();
    void refresh();

private:
    void secondBoardBox_Toggled(bool present);

    sim::SimBus& bus_;
    sim::SimBoard& board_;
    sim::SimBoard* second_ = nullptr;  // added the first time it appears, then plugged and unplugged
};
