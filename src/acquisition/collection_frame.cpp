#include "acquisition/collection_frame.h"

#include <QGridLayout>

#include "chip/register_bits.h"
#include "common/display_box.h"
#include "common/number_label.h"
#include "common/number_text.h"
#include "common/widget_factories.h"

const QString CollectionFrame::kCollectCaption = QStringLiteral("Collect / Graph Real Time Data");
const QString CollectionFrame::kRunningCaption =
    QStringLiteral("Real Time data display is executing, Click -Stop Real Time- to End");
const QString CollectionFrame::kCollectAgainCaption = QStringLiteral("Collect Data Graphical Real Time Data");

CollectionFrame::CollectionFrame() {
    cmdCollectData = new QPushButton(kCollectCaption);
    // "Tolvex" (for Tolvane) stays: we keep our texts letter for letter, typos too.
    cmdCollectData->setToolTip(
        "Begins a continuous timer controller trigger, reading and display of the Tolvex Ambient Light "
        "Reading.");
    // Wide enough for its longest caption, so the frame does not jump when a run starts.
    cmdCollectData->setMinimumWidth(cmdCollectData->fontMetrics().horizontalAdvance(kRunningCaption) + 24);
    cmdStopData = new QPushButton("Stop Data Acquisition");
    cmdAbort = new QPushButton("Terminate");
    cmdAbort->hide();
    Command4 = new QPushButton("Exit");
    Command4->setToolTip("Click here when you wish to exit the program.");
    cmdSync = new QPushButton("Send EOC");
    cmdSync->setToolTip("Send Start Integration to ADC. Used when in External Timing");

    Label8 = new QLabel("Sample Interval");
    Label4 = new QLabel("Requested");
    txtInterval = fixedWidthBox("", 4, "Operator Selected time between Measurement Triggers.");
    Label7 = new QLabel("mSec");
    Label14 = new QLabel("Command to Record Time");
    txtTime3 = displayBox("", 4);
    Label6 = new QLabel("Command to Command Time");
    txtTime1 = displayBox("", 4);
    for (QWidget* shownWhileRunning : std::initializer_list<QWidget*>{Label14, txtTime3, Label6, txtTime1})
        shownWhileRunning->hide();
    // Controls that come and go with a run keep their place, so nothing else on the frame moves.
    for (QWidget* toggled :
         std::initializer_list<QWidget*>{Label14, txtTime3, Label6, txtTime1, cmdStopData, Command4}) {
        QSizePolicy policy = toggled->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        toggled->setSizePolicy(policy);
    }
    Label11 = new QLabel("Captured Readings");
    lblLoop_Count = new NumberLabel;
    // The count changes with every sample; at a fixed size its new text does not lay the whole panel
    // out again each time (at most 1010 readings, four digits).
    lblLoop_Count->setFixedSize(lblLoop_Count->fontMetrics().horizontalAdvance("00000"),
                                lblLoop_Count->sizeHint().height());
    Label18 = new QLabel;
    Label16 = new QLabel("Reading");
    txtReading = displayBox("", 6, "Raw AD Reading Integer Value");
    lblIlluminance = new QLabel("Illuminance");
    txtIlluminance = displayBox("", 7,
                                "Illuminance of the last reading in lux, from its count and the range and "
                                "resolution in force.");
    txtIlluminance->setAccessibleName("Illuminance (lux)");
    lblLux = new QLabel("lx");
    Label17 = new QLabel("Integration Counter" + QString(30, ' ') + "Lux Cntr");
    txtReading2 = displayBox("", 9);
    txtReading3 = displayBox("", 9);

    // What a screen reader announces for each box: its caption.
    Label8->setBuddy(txtInterval);
    txtInterval->setAccessibleName("Sample Interval, mSec");
    Label14->setBuddy(txtTime3);
    Label6->setBuddy(txtTime1);
    Label16->setBuddy(txtReading);
    Label11->setBuddy(lblLoop_Count);

    auto* grid = new QGridLayout(this);
    grid->addWidget(cmdCollectData, 0, 0, 1, 7);
    grid->addWidget(cmdStopData, 1, 0, 1, 2);
    grid->addWidget(cmdSync, 1, 2, 1, 2);
    grid->addWidget(Command4, 1, 4, 1, 2);
    grid->addWidget(cmdAbort, 1, 4, 1, 2);
    grid->addWidget(Label8, 2, 0);
    grid->addWidget(Label4, 2, 1);
    grid->addWidget(txtInterval, 2, 2);
    grid->addWidget(Label7, 2, 3);
    grid->addWidget(Label16, 2, 4);
    grid->addWidget(txtReading, 2, 5);

    grid->addWidget(Label14, 3, 0, 1, 2);
    grid->addWidget(txtTime3, 3, 2);
    grid->addWidget(lblIlluminance, 3, 4);
    grid->addWidget(txtIlluminance, 3, 5);
    grid->addWidget(lblLux, 3, 6);
    grid->addWidget(Label11, 4, 4);
    grid->addWidget(lblLoop_Count, 4, 5);
    grid->addWidget(Label6, 4, 0, 1, 2);
    grid->addWidget(txtTime1, 4, 2);
    grid->addWidget(Label17, 5, 0, 1, 7);
    grid->addWidget(txtReading2, 6, 0, 1, 2);
    grid->addWidget(txtReading3, 6, 2, 1, 2);
    grid->addWidget(Label18, 7, 0, 1, 7);
    grid->setColumnStretch(3, 1);
}

std::optional<std::int32_t> CollectionFrame::interval() const {
    return roundToInt32(numericValue(txtInterval->text()));
}

void CollectionFrame::showIlluminance(int count, std::uint8_t r0, std::uint8_t r1) {
    const std::optional<double> lux = illuminanceLux(count, r0, r1);
    showText(txtIlluminance, lux ? QString::number(*lux, 'f', 1) : QString());
}
