// The panel as a window: construction, how its frames sit on it, the device frame, wiring of the controls
// to their handlers, loading and closing. Every other frame is built by the file that holds its handlers.
#include "sensor/frmTolvane.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "acquisition/record_file.h"
#include "common/event_hooks.h"
#include "common/hex.h"
#include "common/palette.h"
#include "common/widget_factories.h"
#include "platform/repaint_pacer.h"

frmTolvane::frmTolvane(PanelHost& host, const BoardLink& link, Services& services)
    : host_(host),
      link_(link),
      services_(services),
      acquisition_(std::make_unique<Acquisition>(static_cast<CollectionHost&>(*this), services)) {
    setWindowTitle("Tolvane  Light Sensor Evaluation Software");
    buildControls();
    connectHandlers();
    nameForScreenReaders();
    new RepaintPacer(*this, services.clock);
}

frmTolvane::~frmTolvane() = default;

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
    columns->setContentsMargins(6, 6, 6, 6);  // a little less than the style's, to fit a laptop's screen
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right, 1);

    // The panel keeps its designed layout at its full size; on a smaller screen it scrolls, so every
    // control stays reachable. The scroll area brings a control into view when Tab moves the focus to it;
    // never when a click does, which would move the control away from under the pointer mid-click.
    scroller_ = new QScrollArea;
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->setWidget(content);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setMenuBar(menuBar);
    window->addWidget(scroller_);
}

QSize frmTolvane::fullSize() const {
    // Before the panel is first shown, frames laid out during the load keep the size they had then,
    // with controls the load has hidden since; and captions set since the last layout pass change what
    // the frames need. Lay every frame out again, innermost first, as showing the panel would.
    ensurePolished();
    const QList<QLayout*> layouts = findChildren<QLayout*>();
    for (auto layout = layouts.rbegin(); layout != layouts.rend(); ++layout) {
        (*layout)->invalidate();
        (*layout)->activate();
    }
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
    FrmDevice = new QGroupBox("Device Selection");
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
    grid->addLayout(indicatorRow(ShpAttach, "USB Device Handle"), 2, 0, 1, 3);
    grid->addLayout(indicatorRow(ShpHandleStatus, "USB Comm"), 2, 3, 1, 2);
    return FrmDevice;
}

namespace {

// An option array's Click handler, told the index of the option clicked or selected.
template <std::size_t N, typename Handler>
void onClick(const std::array<OptionButton*, N>& options, QObject* context, Handler handler) {
    for (int i = 0; i < static_cast<int>(N); ++i)
        QObject::connect(options[i], &OptionButton::Click, context, [handler, i] { handler(i); });
}

}  // namespace

void frmTolvane::connectHandlers() {
    connect(mnuScript, &QAction::triggered, this, &frmTolvane::mnuScript_Click);
    connect(frmAbout, &QAction::triggered, this, &frmTolvane::frmAbout_Click);

    for (int i = 0; i < static_cast<int>(ChkCommand.size()); ++i) {
        connect(ChkCommand[i], &QCheckBox::toggled, this, [this, i] { ChkCommand_Click(i); });
    }
    connect(cbReset, &QPushButton::clicked, this, &frmTolvane::cbReset_Click);
    onClick(OptMeasure, this, [this](int i) { OptMeasure_Click(i); });
    onClick(OptITime, this, [this](int i) { OptITime_Click(i); });
    onClick(OptGain, this, [this](int i) { OptGain_Click(i); });
    onClick(OpInt, this, [this](int i) { OpInt_Click(i); });
    onClick(OptTimeBase, this, [this](int i) { OptTimeBase_Click(i); });
    onClick(OptMode, this, [this](int i) { OptMode_Click(i); });
    connect(ChkIpol, &QCheckBox::toggled, this, &frmTolvane::ChkIpol_Click);
    onMouseUp(LstMode2->viewport(), [this] { LstMode2_MouseUp(); });
    onMouseUp(LstDeviceSel->viewport(), [this] { LstDeviceSel_MouseUp(); });

    connect(cmdSetCommand, &QPushButton::clicked, this, &frmTolvane::cmdSetCommand_Click);
    connect(cmdSetControl, &QPushButton::clicked, this, &frmTolvane::cmdSetControl_Click);
    connect(cmdSetIntHigh, &QPushButton::clicked, this, &frmTolvane::cmdSetIntHigh_Click);
    connect(cmdSetIntLow, &QPushButton::clicked, this, &frmTolvane::cmdSetIntLow_Click);
    connect(cmdRead_All, &QPushButton::clicked, this, &frmTolvane::cmdRead_All_Click);
    connect(cmdRead_Measurements, &QPushButton::clicked, this, &frmTolvane::cmdRead_Measurements_Click);
    for (int i = 0; i < 4; ++i) onKeyPress(txtRegHex[i], [this, i](int key) { txtRegHex_KeyPress(i, key); });

    onKeyPress(txtIUpperLimit, [this](int key) { txtIUpperLimit_KeyPress(key); });
    onKeyPress(txtILowerLimit, [this](int key) { txtILowerLimit_KeyPress(key); });
    connect(cmdClearInt, &QPushButton::clicked, this, &frmTolvane::cmdClearInt_Click);
    connect(cmdClrInt, &QPushButton::clicked, this, &frmTolvane::cmdClrInt_Click);
    connect(cmdSample_Portb, &QPushButton::clicked, this, &frmTolvane::cmdSample_Portb_Click);

    const CollectionFrame& collection = *acquisition_->collection;
    connect(collection.cmdCollectData, &QPushButton::clicked, this, &frmTolvane::cmdCollectData_Click);
    connect(collection.cmdStopData, &QPushButton::clicked, this, &frmTolvane::cmdStopData_Click);
    connect(collection.cmdAbort, &QPushButton::clicked, this, &frmTolvane::cmdAbort_Click);
    connect(collection.Command4, &QPushButton::clicked, this, &frmTolvane::Command4_Click);
    connect(collection.cmdSync, &QPushButton::clicked, this, &frmTolvane::cmdSync_Click);
}

namespace {

// The record file lives beside the program, unless the program's folder is not ours to write (an
// installed program): then in the user's documents.
QString recordFileDefault() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return defaultRecordPath(programFolder, QFileInfo(programFolder).isWritable(),
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

}  // namespace

// Sets up the panel's own state only: the chip keeps what it holds until the user writes it.
void frmTolvane::Form_Load() {
    ShpAttach->setFillColour(BrightGreen);
    acquisition_->chart.TraceColour = qRgb(255, 0, 0);
    services_.events.processEvents();
    LstMode2->clear();
    LstMode2->addItems({"Diode 1", "Diode 2", "Difference"});
    LblCommTest->hide();
    LstDeviceSel->clear();
    LstDeviceSel->addItem("Tolvane ADR-44");
    LstDeviceSel->setCurrentRow(0);
    ReadCount = 2;
    CollectionFrame& collection = *acquisition_->collection;
    for (QWidget* unused :
         std::initializer_list<QWidget*>{collection.Label17, collection.txtReading2, collection.txtReading3})
        unused->hide();
    RegShadow = {0x80, 0x00, 0xFF, 0x00};
    for (int n = 0; n < 4; ++n) txtRegHex[n]->setText(Hex2(RegShadow[n]));
    acquisition_->record->txtFilePath->setText(recordFileDefault());
    collection.txtInterval->setText("100");
    services_.events.processEvents();
    acquisition_->chartFrame->initialise();
    LstMode2->setCurrentRow(0);
    services_.events.processEvents();
    frmMode->show();
    frmTimeBase->show();
    FrmDevice->show();
    ShpHandleStatus->setFillColour(BrightGreen);
}

void frmTolvane::frmAbout_Click() {
    host_.showAbout();
}

// The close box ends the program the way "Exit" does.
void frmTolvane::closeEvent(QCloseEvent* event) {
    event->accept();
    Command4_Click();
}
