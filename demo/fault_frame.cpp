#include "demo/fault_frame.h"

#include <QGridLayout>
#include <QStringList>

FaultFrame::FaultFrame(sim::SimBus& bus, sim::SimBoard& board)
    : QGroupBox("Faults"), bus_(bus), board_(board) {
    unplugButton = new QPushButton("Unplug");
    plugButton = new QPushButton("Plug in");
    plugButton->setToolTip(
        "As with a real board, the program finds a board plugged in again only when it searches: "
        "answer Retry in its box");
    unplugForAWhileButton = new QPushButton("Unplug for 10 s");
    unplugForAWhileButton->setToolTip(
        "Plugs back in by itself, so you can answer the program's boxes meanwhile");
    replugTimer = new QTimer(this);
    replugTimer->setSingleShot(true);
    replugTimer->setInterval(kReplugAfterMs);
    dropCountBox = new QSpinBox;
    dropCountBox->setAccessibleName("Answers to drop");
    dropCountBox->setRange(1, 99);
    dropButton = new QPushButton("Drop answers");
    dropButton->setToolTip("The next answers never come: the program waits 6 s for each");
    lateButton = new QPushButton("Answer next late");
    lateButton->setToolTip("The next answer comes 7 s after its request, after the program has given up");
    noAcknowledgeBox = new QCheckBox("Chip does not acknowledge");
    secondBoardBox = new QCheckBox("Second board on the bus");
    secondBoardBox->setToolTip(
        "Another evaluation board, under a steady 500 lux; the program lists it "
        "when it next searches");
    pendingLabel = new QLabel;

    pendingLabel->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(unplugButton, 0, 0);
    grid->addWidget(plugButton, 0, 1);
    grid->addWidget(unplugForAWhileButton, 1, 0, 1, 2);
    grid->addWidget(dropCountBox, 2, 0);
    grid->addWidget(dropButton, 2, 1);
    grid->addWidget(lateButton, 3, 0, 1, 2);
    grid->addWidget(noAcknowledgeBox, 4, 0, 1, 2);
    grid->addWidget(secondBoardBox, 5, 0, 1, 2);
    grid->addWidget(pendingLabel, 6, 0, 1, 2);

    connect(unplugButton, &QPushButton::clicked, this, &FaultFrame::unplug);
    connect(plugButton, &QPushButton::clicked, this, &FaultFrame::plugIn);
    connect(unplugForAWhileButton, &QPushButton::clicked, this, [this] {
        replugTimer->start();
        unplug();
    });
    connect(replugTimer, &QTimer::timeout, this, &FaultFrame::plugIn);
    connect(dropButton, &QPushButton::clicked, this, [this] {
        board_.dropAnswers(dropCountBox->value());
        refresh();
    });
    connect(lateButton, &QPushButton::clicked, this, [this] {
        board_.delayNextAnswer(kLateByMs);
        refresh();
    });
    connect(noAcknowledgeBox, &QCheckBox::toggled, this, [this](bool silent) {
        board_.chip.acknowledges = !silent;
        refresh();
    });
    connect(secondBoardBox, &QCheckBox::toggled, this, &FaultFrame::secondBoardBox_Toggled);
    refresh();
}

void FaultFrame::unplug() {
    bus_.unplug(board_);
    refresh();
}

void FaultFrame::plugIn() {
    replugTimer->stop();
    bus_.plug(board_);
    refresh();
}

void FaultFrame::secondBoardBox_Toggled(bool present) {
    if (!present) {
        if (second_) bus_.unplug(*second_);
    } else if (second_) {
        bus_.plug(*second_);
    } else {
        second_ = &bus_.addBoard();
        second_->chip.setLight(sim::LightSource::constant(kSecondBoardLux, kSecondBoardLux / 4));
    }
    refresh();
}

void FaultFrame::refresh() {
    const bool plugged = bus_.plugged(board_);
    unplugButton->setEnabled(plugged);
    unplugForAWhileButton->setEnabled(plugged);
    plugButton->setEnabled(!plugged);

    QStringList pending;
    if (!plugged) pending << (replugTimer->isActive() ? "Unplugged for a while" : "Unplugged");
    if (const int drops = board_.answersToDrop(); drops > 0)
        pending << (drops == 1 ? QString("1 answer to drop") : QString("%1 answers to drop").arg(drops));
    if (board_.nextAnswerLate()) pending << "next answer late";
    if (!board_.chip.acknowledges) pending << "no acknowledge";
    pendingLabel->setText(pending.isEmpty() ? QString("Healthy") : pending.join(", "));
}
