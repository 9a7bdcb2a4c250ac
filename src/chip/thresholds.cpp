#include "chip/thresholds.h"

#include <cmath>

namespace {

constexpr double kStep = 256;
constexpr double kHighest = 65280;

enum class Floor { Step, ZeroOrStep };

ThresholdEntry check(const QString& text, Floor floor) {
    bool ok = false;
    const double typed = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed)) return {};

    const double v = std::nearbyint(typed);  // halves to the even neighbour
    // Kept in double until the range check passes, so huge entries cannot overflow.
    const double multiple = std::floor(v / kStep) * kStep;
    const bool inRange =
        (multiple >= kStep && multiple <= kHighest) || (floor == Floor::ZeroOrStep && multiple == 0);
    ThresholdEntry entry;
    if (!inRange) {
        entry.verdict = ThresholdEntry::Verdict::OutOfRange;
        return entry;
    }
    entry.verdict = ThresholdEntry::Verdict::Accepted;
    entry.value = static_cast<long>(multiple);
    entry.adjusted = multiple != v;
    entry.registerValue = static_cast<std::uint8_t>(entry.value / 256);
    return entry;
}

}  // namespace

ThresholdEntry checkHighThreshold(const QString& text) {
    return check(text, Floor::Step);
}

ThresholdEntry checkLowThreshold(const QString& text) {
    return check(text, Floor::ZeroOrStep);
}
