#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <string>
#include <vector>

#include "console/frmMain.h"
#include "tests/support/rig.h"

// A loaded console on one simulated board; reports compared as hexadecimal lines, so a failing
// comparison shows which byte differs.
struct Console : ::testing::Test {
    Rig rig;
    frmMain* console = nullptr;

    void load() {
        rig.chooseTolvane();
        console = &rig.console();
    }
    std::vector<std::string> sentSince(std::size_t mark = 0, int board = 0) {
        std::vector<std::string> lines;
        for (const Report& report : rig.received(mark, board)) lines.push_back(hexLine(report));
        return lines;
    }
    static std::string hexLine(const Report& report) {
        return QByteArray(reinterpret_cast<const char*>(report.data()), report.size())
            .toHex(' ')
            .toStdString();
    }
    // A cleared request: the given bytes from byte 0 on, zeros after them.
    static std::string request(std::initializer_list<std::uint8_t> bytes) {
        Report report{};
        std::copy(bytes.begin(), bytes.end(), report.begin());
        return hexLine(report);
    }
    // What a board sends when it becomes current with the simulated board's usual settings (LEDs
    // off, SCL 12 MHz code 30, SPI 24 MHz code 5): each clock code goes back once.
    static std::vector<std::string> usualReadBack() {
        return {request({1, CMD_LED, SUB_GET}),           request({1, CMD_I2C_CLOCK, SUB_GET}),
                request({1, CMD_I2C_CLOCK, SUB_SET, 30}), request({1, CMD_SPI_CLOCK, SUB_GET}),
                request({1, CMD_SPI_CLOCK, SUB_SET, 5}),  request({1, CMD_I2C_OPTIONS, SUB_GET}),
                request({1, CMD_SPI_OPTIONS, SUB_GET}),   request({1, CMD_GP_CONFIG, SUB_GET}),
                request({1, CMD_GP_VALUE, SUB_GET, 1})};
    }
    static std::vector<int> checkedIndexes(const auto& boxes) {
        std::vector<int> checked;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i]->isChecked()) checked.push_back(static_cast<int>(i));
        return checked;
    }
};
