#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdint>
#include <optional>

// The collection controls of the panel: start, stop and exit buttons, the sample interval, the two
// loop times, the count of captured readings, the reading and the status line. Only controls here;
// the loop and the panel drive them.
class CollectionFrame : public QGroupBox {
    Q_OBJECT
public:
    CollectionFrame();

    QPushButton* cmdCollectData;
    QPushButton* cmdStopData;
    QPushButton* cmdAbort;  // hidden; "Exit" runs its handler
    QPushButton* Command4;  // "Exit"
    QPushButton* cmdSync;   // "Send EOC"

    QLabel* Label8;  // "Sample Interval"
    QLabel* Label4;  // "Requested"
    // Its Enter and focus-out handlers are the chart's (ChartFrame), which relabel the time axis.
    QLineEdit* txtInterval;
    QLabel* Label7;   // "mSec"
    QLabel* Label14;  // "Command to Record Time"
    QLineEdit* txtTime3;
    QLabel* Label6;  // "Command to Command Time"
    QLineEdit* txtTime1;
    QLabel* Label11;  // "Captured Readings"
    QLabel* lblLoop_Count;
    QLabel* Label18;  // status line

    // Reading display; Label17 and the second and third readings stay hidden.
    QLabel* Label16;  // "Reading"
    QLineEdit* txtReading;
    QLabel* Label17;
    QLineEdit* txtReading2;
    QLineEdit* txtReading3;
    // The illuminance of the last reading, in lux, beside it.
    QLabel* lblIlluminance;  // "Illuminance"
    QLineEdit* txtIlluminance;
    QLabel* lblLux;  // "lx"

    // The sample interval the box holds, in milliseconds, rounded (text that is no number counts as 0);
    // none when it does not fit 32 bits.
    std::optional<std::int32_t> interval() const;

    // Shows the illuminance `count` stands for under the range and resolution of R0 and R1 as written;
    // empty when D2 alone, which sees no visible light, is measured.
    void showIlluminance(int count, std::uint8_t r0, std::uint8_t r1);

    // The captions of the start button.
    static const QString kCollectCaption;
    static const QString kRunningCaption;
    static const QString kCollectAgainCaption;
};
