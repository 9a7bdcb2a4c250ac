#include "python/reading_forms.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include "chip/register_bits.h"

namespace {

constexpr std::int64_t kUnixEpochJulianDay = 2440588;
constexpr std::int64_t kMsPerDay = 24 * 3600 * 1000;

// The row's date and time read as if they were UTC: numpy's datetime64 has no time zone, and the
// array's time then shows what the CSV's does.
std::int64_t localMs(const QDateTime& time) {
    return (time.date().toJulianDay() - kUnixEpochJulianDay) * kMsPerDay + time.time().msecsSinceStartOfDay();
}

py::object namedTuple(const char* name, const char* fields, const char* doc) {
    py::object type =
        py::module_::import("collections").attr("namedtuple")(name, fields, py::arg("module") = "tolvane");
    type.attr("__doc__") = doc;
    return type;
}

}  // namespace

ArrayRow arrayRowOf(const ReadingRow& row) {
    ArrayRow values{
        localMs(row.time),
        row.elapsedMs,
        row.seq,
        row.count,
        illuminanceLux(row.count, row.r0, row.r1).value_or(std::numeric_limits<double>::quiet_NaN()),
        rangeLuxOf(row.r1),
        static_cast<std::uint8_t>(resolutionBitsOf(row.r0)),
        {}};
    char32_t mode[5] = {};
    for (std::size_t i = 0; const char c : std::string_view(modeColumnText(row.r0)))
        mode[i++] = static_cast<char32_t>(c);
    std::memcpy(values.mode, mode, sizeof mode);
    return values;
}

py::array readingArray(std::vector<ArrayRow> rows) {
    py::list columns;
    for (const auto& [name, type] : {std::pair{"time", "M8[ms]"},
                                     {"elapsed_ms", "<i8"},
                                     {"seq", "<i8"},
                                     {"count", "<i4"},
                                     {"lux", "<f8"},
                                     {"range_lux", "<i4"},
                                     {"resolution_bits", "u1"},
                                     {"mode", "<U5"}})
        columns.append(py::make_tuple(name, type));
    const py::object dtype = py::module_::import("numpy").attr("dtype")(columns);
    if (dtype.attr("itemsize").cast<std::size_t>() != sizeof(ArrayRow))
        throw std::logic_error("The array's row is not the size of its dtype.");
    auto owned = std::make_unique<std::vector<ArrayRow>>(std::move(rows));
    const auto size = static_cast<py::ssize_t>(owned->size());
    ArrayRow* const data = owned->data();
    const py::capsule owner(owned.release(),
                            [](void* held) { delete static_cast<std::vector<ArrayRow>*>(held); });
    return py::array(py::reinterpret_borrow<py::dtype>(dtype), std::vector<py::ssize_t>{size},
                     std::vector<py::ssize_t>{static_cast<py::ssize_t>(sizeof(ArrayRow))}, data, owner);
}

ReadingMaker::ReadingMaker()
    : reading_(py::module_::import("tolvane").attr("Reading")),
      datetime_(py::module_::import("datetime").attr("datetime")) {}

py::object ReadingMaker::operator()(const ReadingRow& row) const {
    const QDate date = row.time.date();
    const QTime time = row.time.time();
    const py::object when = datetime_(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                                      time.second(), time.msec() * 1000);
    const std::optional<double> lux = illuminanceLux(row.count, row.r0, row.r1);
    return reading_(when, row.elapsedMs, row.seq, row.count, lux ? py::object(py::float_(*lux)) : py::none(),
                    rangeLuxOf(row.r1), resolutionBitsOf(row.r0), modeColumnText(row.r0));
}

void addRowClasses(py::module_& module) {
    module.add_object(
        "Reading", namedTuple("Reading", "time elapsed_ms seq count lux range_lux resolution_bits mode",
                              "One reading, with the columns of the readings CSV: time (a datetime, local), "
                              "elapsed_ms since the run's first reading, seq from 0, count (the ADC count), "
                              "lux (None for D2 alone, which sees infrared only), range_lux, "
                              "resolution_bits, and mode (\"D1\", \"D2\" or \"D1-D2\")."));
    module.add_object("BoardInfo",
                      namedTuple("BoardInfo", "index path serial access",
                                 "A board as listed: its index and path (either chooses it in open()), its "
                                 "USB serial number (None where it gives none), and access: \"ok\", or \"no "
                                 "permission\" when the system will not let this user open it."));
}
