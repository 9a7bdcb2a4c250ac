#include "boardlink/board_link.h"

#include <algorithm>

namespace {

constexpr std::size_t kPayloadStart = 5;       // first register-address byte of an I2C transfer
constexpr std::size_t kMaxReadCount = 62;      // answer bytes 2..63
constexpr std::uint8_t kMaxReadAddress = 254;  // the read form is address + 1 in one byte
constexpr int kBusyAfterMs = 250;              // an answer awaited this long shows the busy cursor

}  // namespace

QString checkConnectionText() {
    return QStringLiteral("Please check USB connection.");
}

QString boardNotFoundText(const QString& deviceName) {
    return "Halvora HID USB Device: VID 7C4B, PID 2019 " + QStringLiteral(" ") + deviceName +
           " Evaluation Board not found.";
}

QString noPermissionText() {
    return QStringLiteral(
        "A board was found but could not be opened: no permission to use it. Install the udev rule (see "
        "the README), then unplug the board and plug it in again.");
}

BoardLink::BoardLink(HidTransport& transport, Services& services)
    : transport_(transport), services_(services) {}

// ---- Discovery and connection ----

void BoardLink::FindBoard() {
    if (writeHandles_[0] != kNoHandle) CloseBoards();
    Search search;
    for (;;) {
        search = searchBoards();
        if (search.opened > 0) break;
        QString notFound = boardNotFoundText(deviceName_);
        // A board the system lists but will not let us open is not "no board": say what helps.
        if (search.refused) notFound += "\r\n" + noPermissionText();
        askRetryOrCancel(notFound);
        if (msgAnswer_ == AnswerRetry) continue;
        if (msgAnswer_ == AnswerCancel) {
            unloadConsole();
            return;
        }
        break;
    }
    if (host_) {
        host_->boardsFound();
    } else {
        // Nobody keeps an instance list: board 0 becomes current, as row 0 would make it.
        chooseBoard(0);
    }
}

void BoardLink::setDevice(const QString& name, std::uint8_t address) {
    deviceName_ = name;
    defaultSlaveAddress_ = address;
    slaveAddress_ = address;
}

void BoardLink::nameBoard() {
    boardName_ = deviceName_ + " Evaluation Board";
}

bool BoardLink::chooseBoard(std::size_t index) {
    if (index >= writeHandles_.size()) return false;
    writeHandle_ = writeHandles_[index];
    readHandle_ = readHandles_[index];
    return true;
}

// One pass over the interfaces present now. Only those listed with the board's ids are opened: the
// keyboards and mice of the machine are none of our business.
BoardLink::Search BoardLink::searchBoards() {
    Search search;
    listedBoards_.clear();
    for (const HidInterface& listed : transport_.enumerate()) {
        if (listed.vendorId != kBoardVendorId || listed.productId != kBoardProductId) continue;
        writeHandle_ = transport_.open(listed.path);
        if (writeHandle_ == kInvalidHandle) {
            search.refused = true;
            listedBoards_.push_back({listed.path, false});
            continue;
        }
        if (!isBoard(writeHandle_)) {
            transport_.close(writeHandle_);
            continue;
        }
        const auto n = static_cast<std::size_t>(search.opened);
        writeHandles_.resize(n + 1);
        readHandles_.resize(n + 1);
        writeHandles_[n] = writeHandle_;
        readHandle_ = transport_.open(listed.path);
        readHandles_[n] = readHandle_;
        listedBoards_.push_back({listed.path, true});
        ++search.opened;
    }
    return search;
}

bool BoardLink::isBoard(HidHandle handle) {
    const std::optional<HidAttributes> attributes = transport_.attributes(handle);
    return attributes && attributes->vendorId == kBoardVendorId && attributes->productId == kBoardProductId;
}

void BoardLink::CloseBoards() {
    for (std::size_t i = 0; i < writeHandles_.size(); ++i) {
        for (HidHandle handle : {writeHandles_[i], i < readHandles_.size() ? readHandles_[i] : kNoHandle}) {
            // An entry can hold the invalid value when a second open failed: nothing to close then.
            if (handle != kNoHandle && handle != kInvalidHandle) transport_.close(handle);
        }
    }
    writeHandles_ = {kNoHandle};
    readHandles_ = {kNoHandle};
    writeHandle_ = kInvalidHandle;
    readHandle_ = kInvalidHandle;
}

// ---- Report exchange ----

void BoardLink::FillReportBuffer(std::uint8_t value) {
    reportBuffer_.fill(value);
}

void BoardLink::SetReportId() {
    reportBuffer_[0] = 1;
}

void BoardLink::FlushInput() {
    discardInput(kFlushTimeoutMs);
}

void BoardLink::DrainQueuedInput() {
    discardInput(0);
}

void BoardLink::discardInput(int timeoutMs) {
    // Stale reports go to a scratch buffer, so ReportBuffer keeps the last real exchange.
    Report discarded{};
    while (transport_.read(readHandle_, discarded, timeoutMs)) {
    }
}

bool BoardLink::awaitAnswer(Report& answer) {
    // The same 6 s in all, in two reads: past the first quarter second the user is shown the wait.
    const std::uint32_t start = services_.clock.milliseconds();
    if (transport_.read(readHandle_, answer, kBusyAfterMs)) return true;
    // A read that failed before its time (the board is gone) waited for nothing: neither does this.
    if (services_.clock.milliseconds() - start < static_cast<std::uint32_t>(kBusyAfterMs)) return false;
    const BusyWhile busy(services_.busy);
    return transport_.read(readHandle_, answer, kAnswerTimeoutMs - kBusyAfterMs);
}

std::int16_t BoardLink::ReadAnswer() {
    Report answer{};
    if (!awaitAnswer(answer)) {
        // Nothing is left pending after a timed-out read, so the cancel always succeeds.
        transferError_ = 1;
        return TransferNoAnswer;
    }
    reportBuffer_ = answer;
    answerStatus_ = reportBuffer_[1] == 0 ? TransferSuccess : TransferNotAcknowledged;
    transferError_ = 0;
    return answerStatus_;
}

std::int16_t BoardLink::checkStatus(std::int32_t value) {
    if (value != 0) return TransferSuccess;
    askRetryOrCancel(QStringLiteral("checkStatus"));
    if (msgAnswer_ == AnswerRetry) {
        FindBoard();
    } else if (msgAnswer_ == AnswerCancel) {
        unloadConsole();
    }
    return 0;
}

int BoardLink::askRetryOrCancel(const QString& detail) {
    msgAnswer_ = static_cast<std::int16_t>(services_.dialogs.messageBox(
        {checkConnectionText() + "\r\n" + detail, DialogButtons::RetryCancel, boardName_}));
    return msgAnswer_;
}

void BoardLink::unloadConsole() {
    if (host_) {
        host_->unloadConsole();
        return;
    }
    CloseBoards();
    services_.exit.exitProgram();
}

void BoardLink::writeBytesFrom1(std::initializer_list<std::uint8_t> bytes) {
    const std::size_t count = std::min(bytes.size(), reportBuffer_.size() - 1);
    std::copy_n(bytes.begin(), count, reportBuffer_.begin() + 1);
}

std::int16_t BoardLink::SendCommand(std::initializer_list<std::uint8_t> bytesFrom1) {
    FillReportBuffer(0);
    SetReportId();
    writeBytesFrom1(bytesFrom1);
    return checkStatus(transport_.write(writeHandle_, reportBuffer_) ? 1 : 0);
}

std::int16_t BoardLink::QueryBoard(std::initializer_list<std::uint8_t> bytesFrom1) {
    FlushInput();
    const std::int16_t written = SendCommand(bytesFrom1);
    if (written != TransferSuccess) return written;
    Report answer{};
    if (!awaitAnswer(answer)) {
        // No answer is no answer: the caller must not decode an empty buffer (or what a Retry search
        // left in it) as the board's state. After Retry that search has read the board back anyway.
        return checkStatus(0);
    }
    reportBuffer_ = answer;
    return written;
}

// ---- I2C transactions ----

Report::iterator BoardLink::fillTransfer(std::uint8_t addressByte, std::uint8_t count, std::uint8_t r,
                                         const std::vector<std::uint8_t>& regAddr) {
    // Byte 0 and the bytes after the payload keep what the last exchange left.
    reportBuffer_[1] = CMD_I2C_TRANSFER;
    reportBuffer_[2] = addressByte;
    reportBuffer_[3] = count;
    reportBuffer_[4] = r;
    return std::copy_n(regAddr.begin(), r, reportBuffer_.begin() + kPayloadStart);
}

std::int16_t BoardLink::I2CRead(std::uint8_t address, std::uint8_t count, std::uint8_t r,
                                std::vector<std::uint8_t>& data, const std::vector<std::uint8_t>& regAddr) {
    // Out-of-range arguments would run past the report or the caller's list: send nothing.
    const bool fits = count >= 1 && count <= kMaxReadCount && kPayloadStart + r <= reportBuffer_.size() &&
                      address <= kMaxReadAddress && data.size() >= count && regAddr.size() >= r;
    if (!fits) return TransferWriteFailed;

    fillTransfer(static_cast<std::uint8_t>(address + 1), count, r, regAddr);
    if (!transport_.write(writeHandle_, reportBuffer_)) {
        transferError_ = TransferWriteFailed;
        return TransferWriteFailed;
    }
    const std::int16_t result = ReadAnswer();
    if (result != TransferSuccess) return result;
    std::copy_n(reportBuffer_.begin() + 2, count, data.begin());
    return TransferSuccess;
}

std::int16_t BoardLink::I2CWrite(std::uint8_t address, std::uint8_t count, std::uint8_t r,
                                 const std::vector<std::uint8_t>& data,
                                 const std::vector<std::uint8_t>& regAddr) {
    const bool fits = count >= 1 && kPayloadStart + r + count <= reportBuffer_.size() &&
                      data.size() >= count && regAddr.size() >= r;
    if (!fits) return TransferWriteFailed;

    std::copy_n(data.begin(), count, fillTransfer(address, count, r, regAddr));
    if (!transport_.write(writeHandle_, reportBuffer_)) return TransferWriteFailed;
    return ReadAnswer();
}
