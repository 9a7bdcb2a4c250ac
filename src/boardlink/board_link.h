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

// The open boards, the one report buffer and the link's shared status values.
class BoardLink {
public:
    BoardLink(HidTransport& transport, Services& services);
    void setHost(BoardLinkHost* host) { host_ = host; }

    // Shared values (kept under the program's own names).
    Report ReportBuffer{};
    std::vector<HidHandle> WriteHandles{kNoHandle};
    std::vector<HidHandle> ReadHandles{kNoHandle};
    HidHandle WriteHandle = kNoHandle;
    HidHandle ReadHandle = kNoHandle;
    std::int16_t TransferError = 0;
    std::int16_t AnswerStatus = 0;
    std::int16_t MsgAnswer = 0;

    // Every interface listed with the board's ids in the last search, in the order listed, and whether
    // it opened: the boards opened are these with `opened` set, in the order of WriteHandles.
    struct ListedBoard {
        std::string path;
        bool opened = false;
    };
    std::vector<ListedBoard> ListedBoards;

    // Device identity, set by the device choice.
    QString DeviceName;
    QString BoardName;
    std::uint8_t SlaveAddress = 0;
    std::uint8_t DefaultSlaveAddress = 0;

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
};
