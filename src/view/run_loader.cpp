#include "view/run_loader.h"

#include <QCoreApplication>

struct RunLoader::Job {
    Loaded loaded;
    qint64 mostRows;
};

namespace {

// Fills the readings as the file is read; hands the progress to the window thread.
class Filler final : public ReadingCsvConsumer {
public:
    Filler(RunLoader::Loaded& loaded, std::stop_token stop, std::function<void(int)> progress)
        : loaded_(loaded), stop_(std::move(stop)), progress_(std::move(progress)) {}

    bool take(std::span<const LoggedReading> rows) override {
        for (const LoggedReading& row : rows) {
            auto& runs = loaded_.readings;
            // Boards are numbered as they first take a row: a new one is the next.
            if (row.board == static_cast<int>(runs.size())) runs.push_back(std::make_shared<RunReadings>());
            // A row the readings cannot hold is left out; one bad time must not hide the rows after it.
            if (!runs[static_cast<std::size_t>(row.board)]->add(row)) loaded_.full = true;
        }
        return !stop_.stop_requested();
    }
    bool progressed(qint64 done, qint64 total) override {
        const int percent = static_cast<int>(100 * done / total);
        if (percent != percent_) progress_(percent_ = percent);
        return !stop_.stop_requested();
    }

private:
    RunLoader::Loaded& loaded_;
    std::stop_token stop_;
    std::function<void(int)> progress_;
    int percent_ = -1;
};

}  // namespace

RunLoader::RunLoader(QObject* parent) : QObject(parent) {}

RunLoader::~RunLoader() {
    cancel();
}

void RunLoader::load(const QString& path, bool live, qint64 mostRows) {
    auto job = std::make_shared<Job>();
    job->loaded.path = path;
    job->loaded.live = live;
    job->mostRows = mostRows;
    waiting_.push_back(std::move(job));
    if (!busy()) startNext();
}

void RunLoader::cancel() {
    waiting_.clear();
    job_.reset();  // what its thread still reports is dropped
    thread_.request_stop();
}

void RunLoader::finish() {
    while (busy()) {
        if (thread_.joinable()) thread_.join();
        // The thread has said all it will say: its reports are waiting for this object.
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void RunLoader::startNext() {
    if (thread_.joinable()) thread_.join();  // a cancelled load ends at its next block
    if (waiting_.empty()) return;
    job_ = std::move(waiting_.front());
    waiting_.pop_front();
    job_->loaded.readings = {std::make_shared<RunReadings>()};
    emit started(job_->loaded.path);
    thread_ = std::jthread(&RunLoader::run, this, job_);
}

void RunLoader::run(std::stop_token stop, RunLoader* loader, std::shared_ptr<Job> job) {
    Filler filler(job->loaded, stop, [loader, job](int percent) {
        QMetaObject::invokeMethod(
            loader,
            [loader, job, percent] {
                if (job == loader->job_) emit loader->progressed(percent);
            },
            Qt::QueuedConnection);
    });
    job->loaded.read = readReadingCsv(job->loaded.path, filler, job->mostRows);
    QMetaObject::invokeMethod(
        loader, [loader, job] { loader->ended(job); }, Qt::QueuedConnection);
}

void RunLoader::ended(const std::shared_ptr<Job>& job) {
    if (job != job_) return;  // cancelled
    job_.reset();
    emit loaded(job->loaded);
    if (!busy()) startNext();
}
