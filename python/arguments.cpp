#include "python/arguments.h"

#include <cmath>
#include <limits>
#include <span>

#include "chip/thresholds.h"

namespace {

constexpr std::int64_t kLongestIntervalMs = 24 * 3600 * 1000;

QString typeName(const py::handle& value) {
    return Py_TYPE(value.ptr())->tp_name;
}

[[noreturn]] void wrongType(const py::handle& value, const char* name, const char* wanted) {
    throw py::type_error(QString("%1 must be %2, not %3").arg(name, wanted, typeName(value)).toStdString());
}

bool isInt(const py::handle& value) {
    return PyLong_Check(value.ptr()) && !PyBool_Check(value.ptr());
}

// The index of `value` among `names`: text for names that are words, an int for those that are numbers.
std::optional<int> choice(const py::handle& value, const char* name, std::span<const char* const> names,
                          bool numbers) {
    if (value.is_none()) return std::nullopt;
    if (numbers ? !isInt(value) : !PyUnicode_Check(value.ptr()))
        wrongType(value, name, numbers ? "an int" : "a str");
    const QString text = QString::fromStdString(py::str(value).cast<std::string>());
    QStringList listed;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) return static_cast<int>(i);
        listed << names[i];
    }
    invalid(value, name, "one of " + listed.join(", "));
}

// A threshold as the chip holds it, a multiple of 256; others are rounded down to one and noted.
std::optional<std::uint8_t> threshold(const py::handle& value, const char* name, bool low,
                                      QStringList& notes) {
    if (value.is_none()) return std::nullopt;
    const QString expected = low ? "0 or 256 to 65280" : "256 to 65280";
    const std::int64_t count = wholeNumber(value, name, 0, std::numeric_limits<int>::max(), expected);
    const ThresholdEntry entry =
        low ? checkLowThreshold(QString::number(count)) : checkHighThreshold(QString::number(count));
    if (entry.verdict != ThresholdEntry::Verdict::Accepted) invalid(value, name, expected);
    if (entry.adjusted)
        notes << QString("%1=%2 is set as %3: the chip holds multiples of 256.")
                     .arg(name)
                     .arg(count)
                     .arg(entry.value);
    return entry.registerValue;
}

}  // namespace

void invalid(const py::handle& value, const char* name, const QString& expected) {
    const QString shown = QString::fromStdString(py::repr(value).cast<std::string>());
    throw py::value_error(QString("Invalid value %1 for %2: %3.").arg(shown, name, expected).toStdString());
}

std::int64_t wholeNumber(const py::handle& value, const char* name, std::int64_t lowest, std::int64_t highest,
                         const QString& expected) {
    if (!isInt(value)) wrongType(value, name, "an int");
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow != 0 || number < lowest || number > highest) invalid(value, name, expected);
    return number;
}

bool flag(const py::handle& value, const char* name) {
    if (!PyBool_Check(value.ptr())) wrongType(value, name, "a bool");
    return value.ptr() == Py_True;
}

int demoBoards(const py::handle& value) {
    if (PyBool_Check(value.ptr())) return value.ptr() == Py_True ? 1 : 0;
    return static_cast<int>(
        wholeNumber(value, "demo", 1, 16, "True, False or a number of boards from 1 to 16"));
}

QString boardChoice(const py::handle& value, const char* name) {
    if (!(isInt(value) || PyUnicode_Check(value.ptr())))
        wrongType(value, name, "an index (int) or a path or serial number (str)");
    return QString::fromStdString(py::str(value).cast<std::string>());
}

std::optional<double> realNumber(const py::handle& value, const char* name, double lowest, double highest,
                                 const QString& expected) {
    if (value.is_none()) return std::nullopt;
    if (!isInt(value) && !PyFloat_Check(value.ptr())) wrongType(value, name, "a number");
    const double number = PyFloat_AsDouble(value.ptr());
    if (!(number >= lowest && number <= highest)) invalid(value, name, expected);
    return number;
}

QString path(const py::handle& value, const char* name) {
    const py::object fspath = py::module_::import("os").attr("fspath");
    if (!PyUnicode_Check(value.ptr()) && !PyObject_HasAttrString(value.ptr(), "__fspath__"))
        wrongType(value, name, "a str or an os.PathLike");
    const py::object text = fspath(value);
    if (!PyUnicode_Check(text.ptr())) wrongType(text, name, "a str path");
    return QString::fromStdString(text.cast<std::string>());
}

RunPlan runPlan(const py::handle& intervalMs, const py::handle& count, const py::handle& durationS) {
    RunPlan plan;
    plan.intervalMs = static_cast<std::uint32_t>(
        wholeNumber(intervalMs, "interval_ms", 0, kLongestIntervalMs, "milliseconds from 0 to 86400000"));
    if (!count.is_none() && !durationS.is_none())
        throw py::value_error("count and duration_s cannot be given together.");
    if (!count.is_none())
        plan.count =
            wholeNumber(count, "count", 1, std::numeric_limits<std::int64_t>::max(), "a whole number from 1");
    if (const std::optional<double> seconds =
            realNumber(durationS, "duration_s", 0.001, 1e9, "seconds from 0.001 to 1000000000")) {
        plan.durationMs = std::llround(*seconds * 1000);
    }
    return plan;
}

NamedFields namedFields(const py::handle& range, const py::handle& resolution, const py::handle& mode,
                        const py::handle& power, const py::handle& persistence, const py::handle& high,
                        const py::handle& low) {
    NamedFields named;
    FieldChanges& fields = named.changes;
    fields.range = choice(range, "range", kRangeNames, false);
    fields.resolution = choice(resolution, "resolution", kResolutionNames, true);
    fields.mode = choice(mode, "mode", kModeNames, false);
    if (!power.is_none()) fields.powerDown = !flag(power, "power");
    fields.persistence = choice(persistence, "persistence", kPersistenceNames, true);
    fields.highLimit = threshold(high, "high", false, named.notes);
    fields.lowLimit = threshold(low, "low", true, named.notes);
    const bool any = fields.mode || fields.resolution || fields.range || fields.powerDown ||
                     fields.persistence || fields.highLimit || fields.lowLimit;
    if (!any) throw py::value_error("Name at least one field to set.");
    return named;
}
