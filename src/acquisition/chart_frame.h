#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "acquisition/collection_frame.h"
#include "acquisition/sample_history.h"
#include "acquisition/strip_chart.h"
#include "common/picture_box.h"
#include "platform/services.h"

// The strip chart on the panel: the label picture holding the plot picture, and the scale controls.
// Its handlers rebuild the labels, clear the plot and start a new run; so do those of the collection
// frame's interval box, whose value the time labels follow.
class ChartFrame : public QWidget {
    Q_OBJECT
public:
    // `stop` ends a running collection and `restart` starts a new one.
    ChartFrame(StripChart& chart, SampleHistory& history, Services& services, CollectionFrame& collection,
               std::function<void()> stop, std::function<void()> restart);

    PictureBox* Picture2;  // labels; holds Picture1
    PictureBox* Picture1;  // the plot
    QPushButton* cmdAutoScale;
    QPushButton* cmdScale;
    QLabel* lblTrig;  // "Scale Max"
    QLineEdit* txtScale;

    // The panel's load: labels from the interval and the scale, the grid, the captured background.
    void initialise();

    void cmdAutoScale_Click();
    void cmdScale_Click();
    void txtScale_Click();
    void txtInterval_KeyPress(int KeyAscii);
    void txtInterval_LostFocus();

    // Called by the time base option and the loop: repaint the empty chart.
    void ClearChart() { chart_.ClearChart(*Picture1); }

private:
    // ScaleMax from the scale box (kept when the box's value does not fit); stops the run.
    void takeScale();
    // Relabels the value axis from ScaleMax and empties the plot.
    void relabelScale();
    void emptyPlot();

    StripChart& chart_;
    SampleHistory& history_;
    Services& services_;
    CollectionFrame& collection_;
    std::function<void()> stop_;
    std::function<void()> restart_;
};
