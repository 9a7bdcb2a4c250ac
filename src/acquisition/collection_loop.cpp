#include "acquisition/collection_loop.h"

#include "acquisition/chart_math.h"
#include "acquisition/sample_start.h"
#include "common/display_box.h"
#include "common/number_text.h"
#include "common/program_identity.h"

namespace {

const QString kLinkLost = QStringLiteral(
    "Error, USB Communications has been lost, shutting down. Check Eval board connection and re-start the "
    "app.");
const QString kPollingPinCaption = QStringLiteral("Polling via External INT Pin");
const QString kPollingRegisterCaption = QStringLiteral("Polling INT Via Reg b001 Bit h20");
constexpr std::uint32_t kFullChartRestMs = 1;

std::int32_t since(std::uint32_t now, std::uint32_t reference) {
    return static_cast<std::int32_t>(now - reference);
}

}  // namespace

CollectionLoop::CollectionLoop(CollectionHost& host, Services& services, SampleHistory& history,
                               StripChart& chart, CollectionFrame& frame, PictureBox& plot, RunLog& log)
    : host_(host),
      services_(services),
      history_(history),
      chart_(chart),
      frame_(frame),
      plot_(plot),
      log_(log) {}

void CollectionLoop::collect() {
    if (running_) {
        // Runs are started one after the other here, never one inside the other: a user re-scaling
        // all day must not pile up waits.
        restartRequested_ = true;
        services_.dueTimeWait.wake();
        return;
    }
    running_ = true;
    bool restarted = false;
    do {
        restartRequested_ = false;
        if (startRun(restarted)) {
            restarted = true;
            while (collecting_ && !superseded()) pass();
        }
        // The run end lets events run: a re-scale or an interval Enter handled there asks for a new
        // run, which starts here like any other, in a log of its own: the user had ended the last one.
        if (!superseded()) {
            endRun();
            restarted = false;
        }
    } while (restartRequested_ && !services_.exit.requested());
    running_ = false;
}

void CollectionLoop::stop() {
    collecting_ = false;
    restartRequested_ = false;
}

bool CollectionLoop::superseded() const {
    return restartRequested_ || services_.exit.requested();
}

bool CollectionLoop::startRun(bool restarted) {
    host_.bringChipInLine();
    if (superseded()) return false;

    frame_.Label18->setText("Data Collection In Process");
    frame_.cmdCollectData->setText(CollectionFrame::kRunningCaption);
    frame_.cmdCollectData->setEnabled(false);
    frame_.cmdStopData->show();
    frame_.Command4->hide();
    // What was asked for before now is not carried into the run.
    deferred.dropUpdate();
    stopRequested_ = false;

    chart_.resetTrace(0, chart::kNewestColumn);
    chart_.ClearChart(plot_);
    chart_.PlotStart = chart::kNewestColumn;
    history_.startRun();
    samplesTaken_ = 0;
    if (!restarted) log_.start();

    collecting_ = true;
    for (QWidget* time : {frame_.Label6, frame_.Label14}) time->show();
    for (QWidget* time : {frame_.txtTime1, frame_.txtTime3}) time->show();
    if (host_.pollingInterrupt()) host_.setPollingCaption(kPollingPinCaption);

    readInterval();
    reference_ = services_.clock.milliseconds();
    due_ = reference_ + static_cast<std::uint32_t>(interval_);
    stamp_ = reference_;
    return true;
}

void CollectionLoop::pass() {
    readInterval();
    if (host_.pollingInterrupt()) host_.pollInterrupt();
    if (superseded()) return;

    const std::uint32_t now = waitForSampleStart(services_, due_, [this] { return superseded(); });
    if (superseded()) return;
    showText(frame_.txtTime3, signedDecimal(static_cast<long long>(since(now, reference_))));

    const int count = host_.readAdcCount();
    if (superseded()) return;
    history_.store(count);
    log_.add(samplesTaken_++, count, host_.commandRegister(), host_.controlRegister());
    host_.flipAdcIndicators();

    if (host_.linkLost()) {
        services_.dialogs.messageBox({kLinkLost, DialogButtons::Ok, kProgramTitle});
        services_.exit.exitProgram();  // which first offers the readings no "Write to Disk" has kept
        return;
    }
    performDeferredActions();
    if (superseded()) return;

    if (collecting_) {
        stamp_ = services_.clock.milliseconds();
        due_ = stamp_ + static_cast<std::uint32_t>(interval_);
        showText(frame_.txtTime1, signedDecimal(static_cast<long long>(since(stamp_, reference_))));
        // A scale of 0 has no row for anything: the newest point keeps the previous sample's row.
        if (const auto row = chart::traceRow(history_.PlotValue, chart_.ScaleMax))
            chart_.TraceY[chart::kNewestColumn] = *row;
        history_.advance();
    }
    showSample();
    reference_ = stamp_;
}

void CollectionLoop::showSample() {
    if (history_.plotting()) {
        frame_.lblLoop_Count->setText(signedDecimal(static_cast<long long>(history_.counted())));
        chart_.ScrollPlot(plot_, chart_.PlotStart);
        if (chart_.PlotStart > 1) {
            --chart_.PlotStart;
        } else if (!waitOutlastsRest(services_.clock.milliseconds(), due_, kFullChartRestMs)) {
            // A full chart rests after each scroll; where the next sample's wait is longer, that wait
            // gives the rest, and the sample starts at the same moment without a wake-up of its own.
            services_.clock.sleep(kFullChartRestMs);
        }
    }
    showText(frame_.txtReading, formatThreeDecimals(history_.PlotValue));
    frame_.showIlluminance(static_cast<int>(history_.PlotValue), host_.commandRegister(),
                           host_.controlRegister());
}

void CollectionLoop::performDeferredActions() {
    if (!deferred.takeUpdate()) return;
    // Looked up as each one's turn comes: an action asked for while an earlier one ran still goes now.
    for (const DeferredAction action : DeferredActions::kOrder) {
        if (deferred.waiting(action)) host_.perform(action);
    }
}

void CollectionLoop::endRun() {
    log_.finish();
    stopRequested_ = false;
    frame_.cmdCollectData->setEnabled(true);
    frame_.cmdStopData->hide();
    frame_.cmdCollectData->setText(CollectionFrame::kCollectAgainCaption);
    services_.events.processEvents();
    frame_.Command4->show();
    if (host_.pollingInterrupt()) host_.setPollingCaption(kPollingRegisterCaption);
}

void CollectionLoop::readInterval() {
    if (const auto interval = frame_.interval()) interval_ = *interval;
}
