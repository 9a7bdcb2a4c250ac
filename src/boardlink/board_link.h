#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "boardlink/board_command.h"
#include "boardlink/hid_transport.h"
#include "platform/services.h"

// The words of a link failure. The console's boxes and tolvane-cli's messages say the same thing.
// "Please check USB connection.", the first line of every link box.
QString checkConnectionText();
// The second line of the box shown when no board was found.
QString boardNotFoundText(const QString& deviceName);
// The line added when a board is listed but may not be opened, with what to do about it.
QString noPermissionText();

// What the board link asks of the console that drives it.
class BoardLinkHost {
public:
    virtual ~BoardLinkHost() = default;
    // A search has ended (with boards or without): list what it opened and make board 0 current.
    virtual void boardsFound() = 0;
    // Unload the console: close every board and end the program.
    virtual void unloadConsole() = 0;
};

// The open boards, the one report buffer and the link's shared status values. The values keep the
// program's own names; only the link changes them, through the operations below.
class BoardLink {
public:
    BoardLink(HidTransport& transport, Services& services);
    void setHost(BoardLinkHost* host) { host_ = host; }

    // The device chosen: the messages name it, and its I2C address (8-bit write form) becomes both
    // its default and the current one.
    void setDevice(const QString& name, std::uint8_t address);
    // Titles the link's boxes "<device> Evaluation Board" from now on.
    void nameBoard();
    // The I2C address every transfer goes to from now on.
    void setSlaveAddress(std::uint8_t address) { slaveAddress_ = address; }
    const QString& DeviceName() const { return deviceName_; }
    const QString& BoardName() const { return boardName_; }
    std::uint8_t SlaveAddress() const { return slaveAddress_; }
    std::uint8_t DefaultSlaveAddress() const { return defaultSlaveAddress_; }

    // The boards the last search opened, one slot each (one empty slot when it opened none).
    std::size_t boardCount() const { return writeHandles_.size(); }
    // Makes the board in slot `index` current, the one reports go to; false when there is no such slot.
    bool chooseBoard(std::size_t index);

    // Every interface listed with the board's ids in the last search, in the order listed, and whether
    // it opened: the boards opened are these with `opened` set, in the order of their slots.
    struct ListedBoard {
        std::string path;
        bool opened = false;
    };
    const std::vector<ListedBoard>& listedBoards() const { return listedBoards_; }

    // The last exchange: the report it left in the buffer and how its transfer ended.
    const Report& ReportBuffer() const { return reportBuffer_; }
    std::int16_t TransferError() const { return transferError_; }
    std::int16_t AnswerStatus() const { return answerStatus_; }

    // Discovery and connection.
    void FindBoard();
    void CloseBoards();

    // Report exchange.
    void FillReportBuffer(std::uint8_t value);
    void SetReportId();
    void FlushInput();
    // Discards only what is queued already, waiting for nothing: free when nothing is there.
    void DrainQueuedInput();
    std::int16_t ReadAnswer();
    std::int16_t checkStatus(std::int32_t value);
    // Unanswered command: clear, report id, bytes from byte 1 on, write, check. Returns the check.
    std::int16_t SendCommand(std::initializer_list<std::uint8_t> bytesFrom1);
    // Answered command: as SendCommand after a flush, then wait for the answer in ReportBuffer.
    // Returns 8 when the answer is there to decode; 0 when the write failed or no answer came (both
    // reported in the Retry/Cancel box).
    std::int16_t QueryBoard(std::initializer_list<std::uint8_t> bytesFrom1);

    // I2C transactions on the current board (regAddr holds r bytes, data count bytes).
    std::int16_t I2CRead(std::uint8_t address, std::uint8_t count, std::uint8_t r,
                         std::vector<std::uint8_t>& data, const std::vector<std::uint8_t>& regAddr);
    std::int16_t I2CWrite(std::uint8_t address, std::uint8_t count, std::uint8_t r,
                          const std::vector<std::uint8_t>& data, const std::vector<std::uint8_t>& regAddr);

private:
    struct Search {
        int opened = 0;        // boards opened
        bool refused = false;  // an interface listed with the board's ids could not be opened
    };
    Search searchBoards();
    // The ids read from the open handle match the board's.
    bool isBoard(HidHandle handle);
    // The Retry/Cancel box of a link failure; returns the answer, also kept in MsgAnswer.
    int askRetryOrCancel(const QString& detail);
    void unloadConsole();
    // Waits up to the answer time-out for one input report, with the busy sign once it takes long.
    bool awaitAnswer(Report& answer);
    // Reads and drops input reports until none comes within timeoutMs.
    void discardInput(int timeoutMs);
    void writeBytesFrom1(std::initializer_list<std::uint8_t> bytes);
    // Bytes 1..4+r of an I2C transfer; returns where its data bytes go.
    Report::iterator fillTransfer(std::uint8_t addressByte, std::uint8_t count, std::uint8_t r,
                                  const std::vector<std::uint8_t>& regAddr);

    HidTransport& transport_;
    Services& services_;
    BoardLinkHost* host_ = nullptr;

    Report reportBuffer_{};
    std::vector<HidHandle> writeHandles_{kNoHandle};
    std::vector<HidHandle> readHandles_{kNoHandle};
    HidHandle writeHandle_ = kNoHandle;
    HidHandle readHandle_ = kNoHandle;
    std::int16_t transferError_ = 0;
    std::int16_t answerStatus_ = 0;
    std::int16_t msgAnswer_ = 0;
    std::vector<ListedBoard> listedBoards_;
    QString deviceName_;
    QString boardName_;
    std::uint8_t slaveAddress_ = 0;
    std::uint8_t defaultSlaveAddress_ = 0;
};
