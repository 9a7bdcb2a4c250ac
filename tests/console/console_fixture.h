#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <string>
#include <vector>

#include "console/frmMain.h"
#include "tests/doubles/reports.h"
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
    static std::string request(std::initializer_list<std::uint8_t> bytes) { return hexLine(reportOf(bytes)); }
    // What a board sends when it becomes current with the simulated board's usual settings (LEDs off,
    // SCL 12 MHz code 30, SPI 24 MHz code 5), as the protocol writes it: literal bytes, so a swapped
    // command code or sub-command fails here and not on a real board.
    static std::vector<std::string> usualReadBack() {
        return {request({0x01, 0x01, 0x01}),         // LEDs, get
                request({0x01, 0x05, 0x01}),         // SCL clock, get
                request({0x01, 0x05, 0x00, 0x1E}),   // SCL clock, set code 30
                request({0x01, 0x08, 0x01}),         // SPI clock, get
                request({0x01, 0x08, 0x00, 0x05}),   // SPI clock, set code 5
                request({0x01, 0x04, 0x01}),         // I2C options, get
                request({0x01, 0x07, 0x01}),         // SPI options, get
                request({0x01, 0x02, 0x01}),         // port configuration, get
                request({0x01, 0x03, 0x01, 0x01})};  // port levels, get with pull-ups
    }
    static std::vector<int> checkedIndexes(const auto& boxes) {
        std::vector<int> checked;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i]->isChecked()) checked.push_back(static_cast<int>(i));
        return checked;
    }
};
