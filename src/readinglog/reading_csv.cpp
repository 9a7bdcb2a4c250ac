#include "readinglog/reading_csv.h"

#include <charconv>
#include <chrono>

#include "readinglog/csv_line.h"

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
constexpr qint64 kMostWholeLux = 2'000'000;  // far beyond the chip's widest range, 64000 lux

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the fields of a line; every reader below takes one field and the comma after it.
class Fields {
public:
    explicit Fields(std::string_view line) : p_(line.data()), end_(line.data() + line.size()) {}

    template <typename Number>
    bool number(Number& value) {
        const auto [next, error] = std::from_chars(p_, end_, value);
        if (error != std::errc() || next == p_) return false;
        p_ = next;
        return comma();
    }

    // "2026-12-07T17:15:00.123", fixed width as the log writes it.
    bool clock(qint64& ms) {
        static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd.ddd";
        if (end_ - p_ < static_cast<std::ptrdiff_t>(kShape.size())) return false;
        for (std::size_t i = 0; i < kShape.size(); ++i)
            if (kShape[i] == 'd' ? !isDigit(p_[i]) : p_[i] != kShape[i]) return false;
        const auto digits = [this](int at, int length) {
            int value = 0;
            for (int i = at; i < at + length; ++i) value = value * 10 + (p_[i] - '0');
            return value;
        };
        using namespace std::chrono;
        const year_month_day date{year(digits(0, 4)), month(static_cast<unsigned>(digits(5, 2))),
                                  day(static_cast<unsigned>(digits(8, 2)))};
        const int hours = digits(11, 2), minutes = digits(14, 2), seconds = digits(17, 2);
        if (!date.ok() || hours > 23 || minutes > 59 || seconds > 59) return false;
        ms = sys_days(date).time_since_epoch().count() * kMsPerDay +
             ((hours * 60LL + minutes) * 60 + seconds) * 1000 + digits(20, 3);
        p_ += kShape.size();
        return comma();
    }

    // Empty, or "12345.678": lux to the thousandth (further digits round).
    bool milli(std::optional<qint64>& value) {
        if (p_ < end_ && *p_ == ',') {
            value.reset();
            return comma();
        }
        std::uint32_t whole = 0;  // unsigned: "-0.5" is no lux, not 0.5
        const auto [next, error] = std::from_chars(p_, end_, whole);
        if (error != std::errc() || next == p_ || whole > kMostWholeLux) return false;
        p_ = next;
        qint64 fraction = 0;
        int digits = 0;
        if (p_ < end_ && *p_ == '.') {
            for (++p_; p_ < end_ && isDigit(*p_); ++p_, ++digits) {
                if (digits < 3) fraction = fraction * 10 + (*p_ - '0');
                if (digits == 3 && *p_ >= '5') ++fraction;
            }
            if (digits == 0) return false;
        }
        for (; digits < 3; ++digits) fraction *= 10;
        value = qint64{whole} * 1000 + fraction;
        return comma();
    }

    bool mode(Measurement& measurement) {
        const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
        if (rest == "D1")
            measurement = Measurement::D1;
        else if (rest == "D2")
            measurement = Measurement::D2;
        else if (rest == "D1-D2")
            measurement = Measurement::D1MinusD2;
        else
            return false;
        return true;
    }

private:
    bool comma() {
        if (p_ == end_ || *p_ != ',') return false;
        ++p_;
        return true;
    }

    const char* p_;
    const char* end_;
};

}  // namespace

std::optional<std::string> takeCsvField(std::string_view& line) {
    if (line.empty() || line.front() != '"') {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos || line.substr(0, comma).find('"') != std::string_view::npos)
            return std::nullopt;
        std::string field(line.substr(0, comma));
        line.remove_prefix(comma + 1);
        return field;
    }
    std::string field;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            field += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            field += line[++i];
        } else if (i + 1 < line.size() && line[i + 1] == ',') {
            line.remove_prefix(i + 2);
            return field;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool parseReadingCsvLine(std::string_view line, LoggedReading& r) {
    Fields fields(line);
    return fields.clock(r.clockMs) && fields.number(r.elapsedMs) && fields.number(r.seq) &&
           fields.number(r.count) && r.count >= 0 && r.count <= 0xFFFF && fields.milli(r.milliLux) &&
           fields.number(r.rangeLux) && fields.number(r.resolutionBits) && fields.mode(r.mode);
}

QByteArray readingCsvLine(const LoggedReading& r) {
    using namespace std::chrono;
    const qint64 day = r.clockMs >= 0 ? r.clockMs / kMsPerDay : (r.clockMs - kMsPerDay + 1) / kMsPerDay;
    const qint64 msOfDay = r.clockMs - day * kMsPerDay;
    const year_month_day date{sys_days(days(day))};
    csvline::Line line;
    line.clock(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(msOfDay / 3'600'000),
               static_cast<int>(msOfDay / 60'000 % 60), static_cast<int>(msOfDay / 1000 % 60),
               static_cast<int>(msOfDay % 1000));
    line.number(r.elapsedMs).put(',').number(r.seq).put(',').number(r.count).put(',');
    if (r.milliLux) line.number(*r.milliLux / 1000).put('.').number(*r.milliLux % 1000, 3);
    line.put(',').number(r.rangeLux).put(',').number(r.resolutionBits).put(',');
    return line.put(csvline::modeName(r.mode)).put(csvline::kLineEnd).text();
}
