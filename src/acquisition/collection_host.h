#pragma once

#include <QString>
#include <cstdint>

#include "acquisition/deferred_actions.h"

// What the collection wing needs from the panel around it: the chip (always through the panel's own
// handlers, so every access keeps its indicators and deferral rules) and the interrupt polling switch.
// The run's state is the wing's own; the panel reads it there. The wing sees neither the panel nor the
// console nor the board link.
class CollectionHost {
public:
    virtual ~CollectionHost() = default;

    // Run start: reset the ADC when R0's write copy shows it disabled or powered down, then write
    // R0..R3 as the panel shows them and read all eight registers back.
    virtual void bringChipInLine() = 0;

    // "Poll Interrupt" is ticked; its caption; one poll of the INT pin (and R1 when the pin is low).
    virtual bool pollingInterrupt() const = 0;
    virtual void setPollingCaption(const QString& caption) = 0;
    virtual void pollInterrupt() = 0;

    // Reads R4..R5 into their read-back boxes and returns the ADC count they show (0..65535).
    virtual int readAdcCount() = 0;
    virtual void flipAdcIndicators() = 0;
    // The last exchange with the board failed: the link is gone.
    virtual bool linkLost() const = 0;
    // Carries out one register action deferred while the run owned the chip.
    virtual void perform(DeferredAction action) = 0;

    // The Command and Control register write boxes as they stand, for the record file.
    virtual QString commandRegisterText() const = 0;
    virtual QString controlRegisterText() const = 0;
    // R0 and R1 as last set for the chip: the mode, resolution and range a reading is taken under.
    virtual std::uint8_t commandRegister() const = 0;
    virtual std::uint8_t controlRegister() const = 0;
};
