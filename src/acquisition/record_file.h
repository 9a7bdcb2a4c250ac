#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "acquisition/sample_history.h"

// The measurement record file: one block per "Write to Disk", from its header line to "END", every
// line ended by CR LF.

// What a block is made of, taken as they stand when the user writes.
struct RecordInputs {
    QString commandText;   // the R0 write box
    QString controlText;   // the R1 write box
    QString intervalText;  // the sample interval box
    QDateTime when;
    const SampleHistory& history;
};

// Date and time as the header and the status line show them: "12-07-2026", "09:30:05".
QString recordDate(const QDateTime& when);
QString recordTime(const QDateTime& when);

// The number of data lines of a block: SampleIndex - 11.
int recordLineCount(const SampleHistory& history);
// The whole block: header, data lines for samples 11..SampleIndex - 1, "END".
QByteArray recordBlock(const RecordInputs& inputs);

// What a path box that names no file gets for an answer.
inline constexpr char kNoFileName[] = "No file name specified";

// Writes a block to the file at `path`, appended or replacing what the file held. On failure returns
// the system's description of the error and leaves the file exactly as it was. A pipe, a socket or a
// device other than /dev/null and its kin is refused at once, with its name and what it is: opening
// some of them would wait for another program.
std::optional<QString> writeRecordBlock(const QString& path, bool append, const QByteArray& block);

// The record file's default: "Data.txt" in the program's folder when that folder is writable,
// otherwise in the user's documents folder.
QString defaultRecordPath(const QString& programFolder, bool programFolderWritable,
                          const QString& documentsFolder);
