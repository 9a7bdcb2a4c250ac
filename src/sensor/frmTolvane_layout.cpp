// The panel's controls and how they sit on the window, frame by frame.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "common/widget_factories.h"
#include "sensor/frmTolvane.h"

namespace {

QGroupBox* frame(const QString& title) {
    return new QGroupBox(title);
}

OptionButton* option(const QString& caption, QButtonGroup* group, int index, const QString& tip = {}) {
    auto* button = new OptionButton(caption);
    button->setToolTip(tip);
    group->addButton(button, index);
    return button;
}

// A shape followed by its caption.
QHBoxLayout* indicator(Shape* shape, const QString& caption) {
    auto* row = new QHBoxLayout;
    row->addWidget(shape);
    row->addWidget(new QLabel(caption));
    row->addStretch();
    return row;
}

}  // namespace

void frmTolvane::buildControls() {
    menuBar = new QMenuBar(this);
    mnuScript = menuBar->addAction("Script Execution");
    frmAbout = menuBar->addAction("About");

    auto* left = new QVBoxLayout;
    left->addWidget(buildDeviceFrame());
    left->addWidget(buildModeFrame());
    left->addWidget(buildCommandFrame());
    left->addWidget(buildControlFrame());
    left->addWidget(buildTimeBaseFrame());
    frmGraphSelect = new QGroupBox;
    frmGraphSelect->hide();
    left->addWidget(frmGraphSelect);
    left->addStretch();

    auto* middle = new QVBoxLayout;
    middle->addWidget(buildRegisterFrame());
    middle->addWidget(buildInterruptFrame());
    middle->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(acquisition_->chartFrame);
    right->addWidget(acquisition_->collection);
    right->addWidget(acquisition_->record);
    right->addStretch();

    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right, 1);

    // The panel keeps its designed layout at its full size; on a smaller screen it scrolls, so every
    // control stays reachable (keyboard focus scrolls the control into view).
    scroller_ = new QScrollArea;
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->setWidget(content);
    // Whatever takes the focus, by Tab, by a click or by the program, is scrolled into view.
    connect(qApp, &QApplication::focusChanged, this, [this, content](QWidget*, QWidget* now) {
        if (now && content->isAncestorOf(now)) scroller_->ensureWidgetVisible(now);
    });
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setMenuBar(menuBar);
    window->addWidget(scroller_);
}

QSize frmTolvane::fullSize() const {
    // Captions set since the last layout pass change what the frames need: let the layouts catch up.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // As narrow as the frames allow (lists and paths need no more), as tall as they ask.
    const QWidget& frames = *scroller_->widget();
    return QSize(frames.minimumSizeHint().width(), frames.sizeHint().height() + menuBar->sizeHint().height());
}

QSize frmTolvane::sizeHint() const {
    // The whole panel where the screen has room for it, the screen's room where it has not.
    if (!screen()) return fullSize();
    return fullSize().boundedTo(screen()->availableGeometry().size());
}

QWidget* frmTolvane::buildDeviceFrame() {
    FrmDevice = frame("Device Selection");
    Label15 = new QLabel("Device:");
    LstDeviceSel = new QListWidget;
    LstDeviceSel->setFixedHeight(LstDeviceSel->fontMetrics().height() + 10);
    Label10 = new QLabel("I2C Adr");
    txtI2CAddr = displayBox("44", 2);
    Label20 = new QLabel("Actual");
    txtI2cXmitAdr = displayBox("88", 2);
    ShpAttach = new Shape;
    ShpHandleStatus = new Shape;

    auto* grid = new QGridLayout(FrmDevice);
    grid->addWidget(Label15, 0, 0);
    grid->addWidget(LstDeviceSel, 0, 1, 1, 4);
    grid->addWidget(Label10, 1, 0);
    grid->addWidget(txtI2CAddr, 1, 1);
    grid->addWidget(Label20, 1, 2);
    grid->addWidget(txtI2cXmitAdr, 1, 3);
    grid->setColumnStretch(4, 1);
    grid->addLayout(indicator(ShpAttach, "USB Device Handle"), 2, 0, 1, 3);
    grid->addLayout(indicator(ShpHandleStatus, "USB Comm"), 2, 3, 1, 2);
    return FrmDevice;
}

QWidget* frmTolvane::buildModeFrame() {
    frmMode = frame("Device Mode Control");
    modeGroup_ = new QButtonGroup(this);
    OptMode[0] = option("Measure", modeGroup_, 0);
    OptMode[1] = option("Power Down", modeGroup_, 1);
    OptMode[1]->hide();
    OptMode[2] = option("Test Comm", modeGroup_, 2);
    OptMode[0]->setChecked(true);
    LblCommTest = new QLabel("Fail");
    LblCommTest->setAutoFillBackground(true);
    LblCommTest->setAlignment(Qt::AlignCenter);
    LblCommTest->setMinimumWidth(LblCommTest->fontMetrics().horizontalAdvance("Good") + 16);

    auto* row = new QHBoxLayout(frmMode);
    for (QRadioButton* mode : OptMode) row->addWidget(mode);
    row->addWidget(LblCommTest);
    row->addStretch();
    return frmMode;
}

QWidget* frmTolvane::buildCommandFrame() {
    Frame1 = frame("Command Reg - b000");
    const std::array<QString, 4> captions{"Reset ADC", "Pwr Down", "Ext Time", "ADC &&  Device Power Down"};
    for (std::size_t i = 0; i < ChkCommand.size(); ++i) {
        ChkCommand[i] = new QCheckBox(captions[i]);
        ChkCommand[i]->setVisible(i == 3);  // the first three are unused
    }
    cbReset = new QPushButton("Reset");
    cbReset->setToolTip(
        "The resets the Corlith and then places it in D1, Internal Integration Sensing Mode.");

    frmMeasure = frame("Measurement");
    measureGroup_ = new QButtonGroup(this);
    auto* measure = new QVBoxLayout(frmMeasure);
    const std::array<QString, 3> modes{"D1-Only", "D2-Only", "D1-D2"};
    for (int i = 0; i < 3; ++i) measure->addWidget(OptMeasure[i] = option(modes[i], measureGroup_, i));
    OptMeasure[0]->setChecked(true);
    LstMode2 = new QListWidget;
    LstMode2->setFixedHeight(3 * LstMode2->fontMetrics().height() + 12);
    measure->addWidget(LstMode2);

    frItime = frame("AD Resolution");
    itimeGroup_ = new QButtonGroup(this);
    auto* itime = new QVBoxLayout(frItime);
    const std::array<QString, 4> bits{"16", "12", "8", "4"};
    for (int i = 0; i < 4; ++i) itime->addWidget(OptITime[i] = option(bits[i], itimeGroup_, i));
    OptITime[0]->setChecked(true);
    itime->addStretch();

    auto* grid = new QGridLayout(Frame1);
    for (int i = 0; i < 3; ++i) grid->addWidget(ChkCommand[i], 0, i);
    grid->addWidget(ChkCommand[3], 1, 0, 1, 2);
    grid->addWidget(cbReset, 1, 2);
    grid->addWidget(frmMeasure, 2, 0, 1, 2);
    grid->addWidget(frItime, 2, 2);
    return Frame1;
}

QWidget* frmTolvane::buildControlFrame() {
    frmadccontrol = frame("Control Reg - b001");
    frGain = frame("Range");
    gainGroup_ = new QButtonGroup(this);
    auto* gain = new QHBoxLayout(frGain);
    const std::array<QString, 4> ranges{"1k", "4k", "16k", "64k"};
    for (int i = 0; i < 4; ++i) {
        gain->addWidget(OptGain[i] =
                            option(ranges[i], gainGroup_, i, "Set the Lux Sensitivity Gain  / Level."));
    }
    OptGain[0]->setChecked(true);
    auto* column = new QVBoxLayout(frmadccontrol);
    column->addWidget(frGain);
    return frmadccontrol;
}

QWidget* frmTolvane::buildTimeBaseFrame() {
    frmTimeBase = frame("Sampling Time Base Control");
    timeBaseGroup_ = new QButtonGroup(this);
    OptTimeBase[0] =
        option("Internal Time Base", timeBaseGroup_, 0,
               "Light sensing time based based on R1 100mSec / 100K Ohm value. Measurements start "
               "and stop via internal device clock.");
    OptTimeBase[1] = option("External Time Base", timeBaseGroup_, 1);
    OptTimeBase[1]->hide();
    OptTimeBase[0]->setChecked(true);
    auto* row = new QHBoxLayout(frmTimeBase);
    row->addWidget(OptTimeBase[0]);
    row->addWidget(OptTimeBase[1]);
    row->addStretch();
    return frmTimeBase;
}
