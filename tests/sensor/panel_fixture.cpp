#include "tests/sensor/panel_fixture.h"

#include <QTest>

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

std::vector<std::string> describe(const std::vector<Report>& reports) {
    std::vector<std::string> words;
    for (const Report& report : reports) words.push_back(describe(report));
    return words;
}

void typeAndEnter(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}
