#pragma once

#include <cstdint>

// Command codes of byte 1 of an output report.
enum BoardCommand : std::uint8_t {
    CMD_LED = 1,
    CMD_GP_CONFIG = 2,
    CMD_GP_VALUE = 3,
    CMD_I2C_OPTIONS = 4,
    CMD_I2C_CLOCK = 5,
    CMD_I2C_TRANSFER = 6,
    CMD_SPI_OPTIONS = 7,
    CMD_SPI_CLOCK = 8,
};

// Sub-command of byte 2 for the commands that have one.
enum BoardSubCommand : std::uint8_t { SUB_SET = 0, SUB_GET = 1 };

// Transfer results of ReadAnswer and the I2C transaction routines.
enum TransferResult : std::int16_t {
    TransferNotAcknowledged = 1,  // the board answered with a non-zero status
    TransferNoAnswer = 2,         // nothing arrived within the time-out
    TransferWriteFailed = 4,
    TransferSuccess = 8,
};

inline constexpr std::uint16_t kBoardVendorId = 0x7C4B;
inline constexpr std::uint16_t kBoardProductId = 0x2019;
inline constexpr int kAnswerTimeoutMs = 6000;
inline constexpr int kFlushTimeoutMs = 1;
