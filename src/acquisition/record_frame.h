#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "acquisition/collection_frame.h"
#include "acquisition/collection_host.h"
#include "acquisition/sample_history.h"
#include "platform/services.h"

// "Save Measurements to File": writes the readings of the last run to the record file, one block
// per "Write to Disk", appended or replacing the file.
class frmDataRecord : public QGroupBox {
    Q_OBJECT
public:
    // `stop` ends a running collection.
    frmDataRecord(SampleHistory& history, CollectionHost& host, CollectionFrame& collection,
                  Services& services, std::function<void()> stop);

    QLineEdit* txtFilePath;
    QPushButton* cmdBrowse;
    QCheckBox* chkAppend;
    QPushButton* cmdStartRec;
    // Every reading of a run into a CSV file of its own (RunLog), and how that log is doing.
    QCheckBox* chkLogEveryReading;
    QPushButton* cmdHistory;  // the history view on the run being logged (LiveHistory)
    QLineEdit* txtReadingLog;

    void cmdBrowse_Click();
    void cmdStartRec_Click();

    // The program is about to end: offers to write the last run's readings when there are enough and
    // no "Write to Disk" has written them yet. Only the user's No drops them, never a failed write.
    void offerUnsavedReadings();

private:
    // The file dialog; true when the user chose a file, which the path box now names.
    bool chooseFile();
    // Writes one block to the file the box names; shows the system's message when that fails.
    // Returns the moment written into the block, or an invalid one after a failure.
    QDateTime writeBlock();

    SampleHistory& history_;
    CollectionHost& host_;
    CollectionFrame& collection_;
    Services& services_;
    std::function<void()> stop_;
};
