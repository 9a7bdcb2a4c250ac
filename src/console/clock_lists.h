#pragma once

#include <QString>
#include <vector>

// One row of a bus clock list: the frequency as the list shows it and the code the board takes.
struct ClockRow {
    QString text;
    int code;
};

// SCL rows for a base clock in MHz, lowest frequency first: every code d from 255 down to 1 whose
// frequency (base kHz / d) is 100 kHz or more, shown in kHz. Code 256 would not fit the set
// command's byte, so it is never offered.
std::vector<ClockRow> sclClockRows(int baseMHz);

// SPI rows for a base clock in MHz, lowest frequency first: every code k from 23 down to 0 whose
// frequency (base kHz / (2 (k + 1)), in whole kHz) is 500 kHz or more, shown in MHz with the
// decimals that whole kHz give ("0.521", "1.714", "12").
std::vector<ClockRow> spiClockRows(int baseMHz);

// Position of the row carrying code, or -1 when no row does.
int rowOfCode(const std::vector<ClockRow>& rows, int code);
