#pragma once

#include <QString>
#include <initializer_list>
#include <string>
#include <vector>

#include "boardlink/board_command.h"
#include "boardlink/hid_transport.h"

// Reports as readable hexadecimal lines, so a failing comparison shows which byte differs.
inline std::string hexLine(const Report& report) {
    std::string line;
    for (std::uint8_t byte : report) line += QString::asprintf("%02X ", byte).toStdString();
    line.pop_back();
    return line;
}

inline std::vector<std::string> hexLines(const std::vector<Report>& reports) {
    std::vector<std::string> lines;
    for (const Report& report : reports) lines.push_back(hexLine(report));
    return lines;
}

// A cleared request: the given bytes from byte 0 on, zeros after them.
inline std::string request(std::initializer_list<std::uint8_t> bytes) {
    Report report{};
    std::copy(bytes.begin(), bytes.end(), report.begin());
    return hexLine(report);
}

// Everything a board sends when it becomes current with the simulated board's usual settings
// (LEDs off, SCL 12 MHz code 30, SPI 24 MHz code 5): each clock code goes back once.
inline std::vector<std::string> usualReadBack() {
    return {request({1, CMD_LED, SUB_GET}),           request({1, CMD_I2C_CLOCK, SUB_GET}),
            request({1, CMD_I2C_CLOCK, SUB_SET, 30}), request({1, CMD_SPI_CLOCK, SUB_GET}),
            request({1, CMD_SPI_CLOCK, SUB_SET, 5}),  request({1, CMD_I2C_OPTIONS, SUB_GET}),
            request({1, CMD_SPI_OPTIONS, SUB_GET}),   request({1, CMD_GP_CONFIG, SUB_GET}),
            request({1, CMD_GP_VALUE, SUB_GET, 1})};
}
