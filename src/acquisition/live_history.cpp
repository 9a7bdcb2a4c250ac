#include "acquisition/live_history.h"

#include "view/history_window.h"

LiveHistory::LiveHistory(frmDataRecord& record, RunLog& log, Services& services)
    : log_(log), services_(services) {
    QObject::connect(record.cmdHistory, &QPushButton::clicked, record.cmdHistory, [this] { show(); });
}

LiveHistory::~LiveHistory() {
    if (window_) log_.setFollower(nullptr);
}

void LiveHistory::show() {
    if (!window_) {
        window_ = std::make_unique<HistoryWindow>(services_.dialogs, services_.clock);
        log_.setFollower(window_.get());
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}
