#include "sim/sim_board.h"

#include <algorithm>
#include <utility>

#include "boardlink/board_command.h"

namespace sim {

namespace {

constexpr std::uint8_t kReportId = 1;
constexpr std::uint8_t kStatusNotAcknowledged = 1;
constexpr std::uint8_t kStatusMalformed = 2;
constexpr std::uint8_t kStatusUnknownCommand = 0xFF;

constexpr std::size_t kRegAddrStart = 5;
constexpr std::size_t kDataStart = 2;
constexpr std::size_t kMaxReadCount = 62;
constexpr std::uint8_t kLedBits = 0x03;
constexpr std::uint8_t kLastSpiCode = 23;
constexpr std::uint8_t kIntPin = 0x01;     // port 1, pin 0
constexpr std::uint32_t kBitsPerByte = 9;  // eight data bits and the acknowledge

Report emptyAnswer(std::uint8_t status = 0) {
    Report answer{};
    answer[0] = kReportId;
    answer[1] = status;
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
        if (forcedStatus_ != 0) answer.bytes[1] = forcedStatus_;
    }
    answer.lateByMs = std::exchange(extraDelay_, 0);
    return answer;
}

bool SimBoard::applySet(const Report& report) {
    if (report[2] != SUB_SET) return false;
    const std::uint8_t value = report[3];
    switch (report[1]) {
        case CMD_LED:
            settings.leds = value & kLedBits;
            return true;
        case CMD_I2C_CLOCK:
            if (value != 0)
                settings.sclCode = value;  // code 0 would divide by zero: the firmware keeps the old one
            return true;
        case CMD_SPI_CLOCK:
            if (value <= kLastSpiCode) settings.spiCode = value;
            return true;
        default:
            return false;
    }
}

SimBoard::Answer SimBoard::answerTo(const Report& report) {
    if (report[1] == CMD_I2C_TRANSFER) return i2cTransfer(report);
    if (report[2] != SUB_GET) return {emptyAnswer(kStatusUnknownCommand)};
    Report answer = emptyAnswer();
    auto data = answer.begin() + kDataStart;
    switch (report[1]) {
        case CMD_LED:
            data[0] = settings.leds;
            break;
        case CMD_GP_CONFIG:
            data[0] = settings.port1PushPull;
            data[1] = settings.port2PushPull;
            data[2] = settings.pullUpsDisabled;
            break;
        case CMD_GP_VALUE:
            data[0] =
                static_cast<std::uint8_t>((settings.port1Levels & ~kIntPin) | (intLineHigh() ? kIntPin : 0));
            data[1] = settings.port2Levels;
            break;
        case CMD_I2C_OPTIONS:
            data[0] = settings.i2cOptions;
            data[1] = settings.extHold;
            break;
        case CMD_I2C_CLOCK:
            data[0] = settings.i2cBaseMHz;
            data[1] = settings.sclCode;
            break;
        case CMD_SPI_OPTIONS:
            data[0] = settings.spiOptions;
            break;
        case CMD_SPI_CLOCK:
            data[0] = settings.spiBaseMHz;
            data[1] = settings.spiCode;
            break;
        default:
            return {emptyAnswer(kStatusUnknownCommand)};
    }
    return {answer};
}

SimBoard::Answer SimBoard::i2cTransfer(const Report& report) {
    const std::uint8_t address = report[2];
    const std::size_t count = report[3];
    const std::size_t regCount = report[4];
    const bool isRead = (address & 1) != 0;
    const std::size_t payloadEnd = kRegAddrStart + regCount + (isRead ? 0 : count);
    if (count == 0 || (isRead && count > kMaxReadCount) || payloadEnd > report.size()) {
        return {emptyAnswer(kStatusMalformed)};
    }
    if ((address & 0xFE) != TolvaneChip::kAddress || !chip.acknowledges) {
        return {emptyAnswer(kStatusNotAcknowledged), i2cBusTimeUs(1)};  // only the address byte went out
    }
    const auto regAddr = report.begin() + kRegAddrStart;
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
    std::copy(data.begin(), data.end(), answer.bytes.begin() + kDataStart);
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
