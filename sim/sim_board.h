#pragma once

#include <cstdint>
#include <optional>

#include "boardlink/hid_transport.h"
#include "platform/clock.h"
#include "sim/recent_reports.h"
#include "sim/tolvane_chip.h"

namespace sim {

// The settings the bridge firmware holds and reports.
struct BridgeSettings {
    std::uint8_t leds = 0;           // bit 0 green, bit 1 red
    std::uint8_t i2cBaseMHz = 12;    // answer byte 2 of the SCL clock get
    std::uint8_t sclCode = 30;       // 400 kHz from 12 MHz
    std::uint8_t i2cOptions = 0x01;  // bit 0 repeated start, bit 1 stop before read
    std::uint8_t extHold = 0;        // bit 0 EXTHOLD
    std::uint8_t spiBaseMHz = 24;
    std::uint8_t spiCode = 5;
    std::uint8_t spiOptions = 0;  // bit 0 polarity, bit 1 phase, bit 2 slave select
    std::uint8_t port1PushPull = 0;
    std::uint8_t port2PushPull = 0;
    std::uint8_t pullUpsDisabled = 0;
    std::uint8_t port1Levels = 0xFF;  // pin 0 follows the chip's INT line whatever this says
    std::uint8_t port2Levels = 0x0F;
};

// The evaluation board: bridge firmware answering commands 1 to 8, with the chip on its I2C bus.
class SimBoard {
public:
    explicit SimBoard(Clock& clock);

    TolvaneChip chip;
    BridgeSettings settings;
    // The output reports received, in order, with the time each arrived.
    RecentReports received;
    // The input reports that reached the host, in order, with the time each got there. Answers dropped
    // or lost with an unplug never get here.
    RecentReports answered;
    // The bus tells the board when one of its answers reaches the host.
    void answerArrived(std::uint32_t timeMs, const Report& report) {
        answered.push_back({timeMs, report, serial_++});
    }

    // Something on the board pulls the chip's INT line low (a probe, a jumper), whatever the chip says.
    bool intLineHeldLow = false;
    // The INT line as port 1, pin 0 reads it: true = high.
    bool intLineHigh() { return !intLineHeldLow && chip.intLineHigh(); }

    // Faults on demand.
    void dropAnswers(int count) { dropAnswers_ += count; }        // the next answers never come
    void delayNextAnswer(std::uint32_t ms) { extraDelay_ = ms; }  // the next answer comes late
    // Overrides the status byte of the next answers (0 = normal behaviour).
    void answerStatus(std::uint8_t status, int count = 1) {
        forcedStatus_ = status;
        forcedCount_ = count;
    }
    int answersToDrop() const { return dropAnswers_; }
    bool nextAnswerLate() const { return extraDelay_ > 0; }

    struct Answer {
        Report bytes{};
        std::uint32_t busTimeUs = 0;  // the I2C bus time the command took
        std::uint32_t lateByMs = 0;   // a delay asked for by delayNextAnswer
    };
    // Handles one output report; returns the answer the firmware queues, if any.
    std::optional<Answer> receive(const Report& report, std::uint32_t nowMs);

private:
    // Carries out a set sub-command (which is never answered); false when the report is not one.
    bool applySet(const Report& report);
    Answer answerTo(const Report& report);
    Answer i2cTransfer(const Report& report);
    std::uint32_t i2cBusTimeUs(std::size_t bytesOnWire) const;

    std::uint64_t serial_ = 0;
    int dropAnswers_ = 0;
    std::uint32_t extraDelay_ = 0;
    std::uint8_t forcedStatus_ = 0;
    int forcedCount_ = 0;
};

}  // namespace sim
