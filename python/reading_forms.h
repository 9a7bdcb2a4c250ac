#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <vector>

#include "readinglog/reading_row.h"

namespace py = pybind11;

// A reading in the module's two forms, with the columns of the readings CSV: a tolvane.Reading, and a
// row of the array collect() returns.

// One row of the array as numpy holds it (its dtype is readingDtype()): time as datetime64[ms] in
// local time, as the CSV writes it; lux NaN where the CSV leaves it empty (D2 alone).
#pragma pack(push, 1)
struct ArrayRow {
    std::int64_t time;
    std::int64_t elapsedMs;
    std::int64_t seq;
    std::int32_t count;
    double lux;
    std::int32_t rangeLux;
    std::uint8_t resolutionBits;
    // "D1", "D2" or "D1-D2" as numpy's <U5 holds it, five UTF-32 characters; as bytes, since in a packed
    // row a char32_t would sit off its alignment.
    unsigned char mode[5 * sizeof(char32_t)];
};
#pragma pack(pop)

ArrayRow arrayRowOf(const ReadingRow& row);
// The rows as a numpy structured array that owns them: no copy.
py::array readingArray(std::vector<ArrayRow> rows);

// tolvane.Reading, with its time a datetime in local time and lux None for D2 alone.
class ReadingMaker {
public:
    ReadingMaker();
    py::object operator()(const ReadingRow& row) const;

private:
    py::object reading_;
    py::object datetime_;
};

// The namedtuple classes the module adds: Reading and BoardInfo.
void addRowClasses(py::module_& module);
