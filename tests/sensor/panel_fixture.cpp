#include "tests/sensor/panel_fixture.h"

#include "boardlink/board_command.h"
#include "common/hex.h"

std::string describe(const Report& report) {
    if (report[1] == CMD_I2C_TRANSFER) {
        const bool isRead = (report[2] & 1) != 0;
        const QString reg = report[4] > 0 ? Hex2(report[5]) : "--";
        if (isRead) return QString("R%1x%2").arg(reg).arg(report[3]).toStdString();
        return QString("W%1=%2").arg(reg, Hex2(report[5 + report[4]])).toStdString();
    }
    if (report[1] == CMD_GP_VALUE) return "GP";
    if (report[1] == CMD_LED && report[2] == SUB_SET) return "LED" + std::to_string(report[3]);
    return "C" + std::to_string(report[1]);
}

std::vector<std::string> describe(const std::vector<Report>& reports) {
    std::vector<std::string> words;
    for (const Report& report : reports) words.push_back(describe(report));
    return words;
}

std::string pendingFlags(const frmTolvane& p) {
    const std::pair<bool, const char*> flags[]{{p.PendingUpdate, "Update "},
                                               {p.PendingCommandWrite, "Command "},
                                               {p.PendingControlWrite, "Control "},
                                               {p.PendingHighLimitWrite, "High "},
                                               {p.PendingLowLimitWrite, "Low "},
                                               {p.PendingClearInt, "ClearInt "},
                                               {p.PendingRegisterRead, "RegisterRead "}};
    std::string set;
    for (const auto& [on, name] : flags) set += on ? name : "";
    return set;
}

std::vector<std::string> PanelTest::trafficSince(std::size_t from) {
    return describe(rig.received(from));
}

void PanelTest::collectSamples(int samples, const std::function<void()>& meanwhile) {
    collect([this, samples, meanwhile] {
        if (meanwhile) meanwhile();
        if (panel().Collecting && history().SampleIndex >= samples) panel().cmdStopData_Click();
    });
}

std::vector<std::uint32_t> PanelTest::adcReadTimes(std::size_t from) {
    std::vector<std::uint32_t> times;
    const auto& log = rig.board().received;
    for (std::size_t i = from; i < log.size(); ++i) {
        if (describe(log[i].bytes) == "R04x2") times.push_back(log[i].timeMs);
    }
    return times;
}
