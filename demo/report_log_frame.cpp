#include "demo/report_log_frame.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include "demo/report_log.h"

ReportLogFrame::ReportLogFrame(sim::SimBoard& board, Clock& clock)
    : QGroupBox("Reports"), board_(board), originMs_(clock.milliseconds()) {
    logView = new QPlainTextEdit;
    logView->setAccessibleName("Reports to and from the board");
    logView->setReadOnly(true);
    logView->setLineWrapMode(QPlainTextEdit::NoWrap);
    logView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    logView->setToolTip("Seconds since the start, direction, and the report's 64 bytes in hexadecimal");
    // The bars come and go with the reports' length; a screen reader meets them by name when they show.
    logView->verticalScrollBar()->setAccessibleName("Reports, up and down");
    logView->horizontalScrollBar()->setAccessibleName("Reports, left and right");
    pauseButton = new QPushButton("Pause");
    pauseButton->setCheckable(true);

    auto* legend = new QLabel(QString("Last %1: -> to the board, <- to the program").arg(kLines));
    legend->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addWidget(legend, 1);
    top->addWidget(pauseButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(logView, 1);

    connect(pauseButton, &QPushButton::toggled, this, [this](bool paused) {
        pauseButton->setText(paused ? "Resume" : "Pause");
        if (!paused) refresh();
    });
}

void ReportLogFrame::refresh() {
    if (pauseButton->isChecked()) return;
    if (board_.received.size() == shownReceived_ && board_.answered.size() == shownAnswered_) return;
    shownReceived_ = board_.received.size();
    shownAnswered_ = board_.answered.size();
    logView->setPlainText(reportLogText(board_, originMs_, kLines));
    logView->verticalScrollBar()->setValue(logView->verticalScrollBar()->maximum());
}
