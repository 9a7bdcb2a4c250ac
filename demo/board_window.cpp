#include "demo/board_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

BoardWindow::BoardWindow(sim::SimBus& bus, sim::SimBoard& board, Clock& clock,
                         const sim::LightSetting& initialLight)
    : light(new LightFrame(board.chip, initialLight)),
      interrupt(new InterruptFrame(board)),
      faults(new FaultFrame(bus, board)),
      reports(new ReportLogFrame(board, clock)),
      refreshTimer(new QTimer(this)) {
    setWindowTitle("Simulated Evaluation Board");
    auto* column = new QVBoxLayout(this);
    column->addWidget(light);
    column->addWidget(interrupt);
    column->addWidget(faults);
    column->addWidget(reports, 1);

    connect(refreshTimer, &QTimer::timeout, this, &BoardWindow::refresh);
    refreshTimer->start(kRefreshMs);
}

void BoardWindow::refresh() {
    light->refresh();
    interrupt->refresh();
    faults->refresh();
    reports->refresh();
}

void BoardWindow::placeAtTheRightEdge() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(sizeHint().width(), std::min(screen.height(), 640));
    move(screen.right() - frameGeometry().width() + 1, screen.top());
}
