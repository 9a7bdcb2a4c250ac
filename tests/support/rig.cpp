#include "tests/support/rig.h"

#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"

Rig::Rig(int boardCount, QSize screenSize) : screen(screenSize.width(), screenSize.height()) {
    for (int i = 0; i < boardCount; ++i) boards.push_back(&bus.addBoard());
}

void Rig::chooseTolvane() {
    program.start();
    program.startup().cboDeviceSelect->setCurrentIndex(1);
}

void Rig::collect(const std::function<void()>& meanwhile, const std::function<void()>& start) {
    bool inside = false;  // what the hook does may let events run again
    events.meanwhile = [&] {
        if (inside || exit.requested()) return;
        inside = true;
        meanwhile();
        inside = false;
    };
    if (start)
        start();
    else
        program.panel().cmdCollectData_Click();
    events.meanwhile = nullptr;
}

std::vector<Report> Rig::received(std::size_t from, int index) {
    std::vector<Report> reports;
    const auto& log = board(index).received;
    for (std::size_t i = from; i < log.size(); ++i) reports.push_back(log[i].bytes);
    return reports;
}

std::vector<std::uint8_t> head(const Report& report, std::size_t count) {
    return {report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count)};
}
