#include "sim/sim_board.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "sim/wire.h"

namespace sim {

namespace {

using namespace wire;

constexpr std::size_t kMaxReadCount = 62;
constexpr std::uint8_t kLedBits = 0x03;
constexpr std::uint8_t kLastSpiCode = 23;
constexpr std::uint8_t kIntPin = 0x01;     // port 1, pin 0
constexpr std::uint32_t kBitsPerByte = 9;  // eight data bits and the acknowledge

Report emptyAnswer(Status status = Ok) {
    Report answer{};
    answer[0] = kReportId;
    answer[kStatusByte] = status;
    return answer;
}

}  // namespace

SimBoard::SimBoard(Clock& clock) : chip(clock) {}

std::optional<SimBoard::Answer> SimBoard::receive(const Report& report, std::uint32_t nowMs) {
    received.push_back({nowMs, report, serial_++});
    if (applySet(report)) return std::nullopt;
    Answer answer = answerTo(report);
    if (dropAnswers_ > 0) {
        --dropAnswers_;
        return std::nullopt;
    }
    if (forcedCount_ > 0) {
        --forcedCount_;
        if (forcedStatus_ != Ok) answer.bytes[kStatusByte] = forcedStatus_;
    }
    answer.lateByMs = std::exchange(extraDelay_, 0);
    return answer;
}

bool SimBoard::applySet(const Report& report) {
    if (report[kSubCommandByte] != Set) return false;
    const std::uint8_t value = report[kSetValueByte];
    switch (report[kCommandByte]) {
        case Led:
            settings.leds = value & kLedBits;
            return true;
        case I2cClock:
            if (value != 0)
                settings.sclCode = value;  // code 0 would divide by zero: the firmware keeps the old one
            return true;
        case SpiClock:
            if (value <= kLastSpiCode) settings.spiCode = value;
            return true;
        default:
            return false;
    }
}

SimBoard::Answer SimBoard::answerTo(const Report& report) {
    if (report[kCommandByte] == I2cTransfer) return i2cTransfer(report);
    if (report[kSubCommandByte] != Get) return {emptyAnswer(UnknownCommand)};
    Report answer = emptyAnswer();
    auto data = answer.begin() + kAnswerDataStart;
    switch (report[kCommandByte]) {
        case Led:
            data[0] = settings.leds;
            break;
        case GpConfig:
            data[0] = settings.port1PushPull;
            data[1] = settings.port2PushPull;
            data[2] = settings.pullUpsDisabled;
            break;
        case GpValue:
            data[0] =
                static_cast<std::uint8_t>((settings.port1Levels & ~kIntPin) | (intLineHigh() ? kIntPin : 0));
            data[1] = settings.port2Levels;
            break;
        case I2cOptions:
            data[0] = settings.i2cOptions;
            data[1] = settings.extHold;
            break;
        case I2cClock:
            data[0] = settings.i2cBaseMHz;
            data[1] = settings.sclCode;
            break;
        case SpiOptions:
            data[0] = settings.spiOptions;
            break;
        case SpiClock:
            data[0] = settings.spiBaseMHz;
            data[1] = settings.spiCode;
            break;
        default:
            return {emptyAnswer(UnknownCommand)};
    }
    return {answer};
}

SimBoard::Answer SimBoard::i2cTransfer(const Report& report) {
    const std::uint8_t address = report[kSlaveAddressByte];
    const std::size_t count = report[kDataCountByte];
    const std::size_t regCount = report[kRegisterCountByte];
    const bool isRead = (address & 1) != 0;
    const std::size_t payloadEnd = kRegisterAddressStart + regCount + (isRead ? 0 : count);
    if (count == 0 || (isRead && count > kMaxReadCount) || payloadEnd > report.size()) {
        return {emptyAnswer(Malformed)};
    }
    if ((address & 0xFE) != TolvaneChip::kAddress || !chip.acknowledges) {
        return {emptyAnswer(NotAcknowledged), i2cBusTimeUs(1)};  // only the address byte went out
    }
    const auto regAddr = report.begin() + kRegisterAddressStart;
    Answer answer{emptyAnswer()};
    if (!isRead) {
        chip.write({regAddr, regAddr + static_cast<std::ptrdiff_t>(regCount + count)});
        answer.busTimeUs = i2cBusTimeUs(1 + regCount + count);
        return answer;
    }
    // Setting the register pointer takes a write of its own, with its own address byte.
    if (regCount > 0) chip.write({regAddr, regAddr + static_cast<std::ptrdiff_t>(regCount)});
    std::vector<std::uint8_t> data;
    chip.read(data, count);
    std::copy(data.begin(), data.end(), answer.bytes.begin() + kAnswerDataStart);
    answer.busTimeUs = i2cBusTimeUs(1 + regCount + count + (regCount > 0 ? 1 : 0));
    return answer;
}

std::uint32_t SimBoard::i2cBusTimeUs(std::size_t bytesOnWire) const {
    const unsigned code = std::max<unsigned>(1, settings.sclCode);
    const std::uint32_t kHz = std::max(1u, settings.i2cBaseMHz * 1000u / code);
    const auto bits = static_cast<std::uint32_t>(bytesOnWire) * kBitsPerByte;
    return (bits * 1000 + kHz - 1) / kHz;
}

}  // namespace sim
