#include "demo/report_log.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    const sim::LoggedReport* report;
    bool answer;
};

void appendTail(const sim::RecentReports& log, std::size_t count, bool answer, std::vector<Entry>& out) {
    const std::size_t from = std::max(log.first(), log.size() > count ? log.size() - count : 0);
    for (std::size_t i = from; i < log.size(); ++i) out.push_back({&log[i], answer});
}

// Wraps of the 32-bit clock do not matter within 24 days of the origin.
std::int32_t sinceOrigin(const Entry& entry, std::uint32_t originMs) {
    return static_cast<std::int32_t>(entry.report->timeMs - originMs);
}

QString line(const Entry& entry, std::uint32_t originMs) {
    const double seconds = sinceOrigin(entry, originMs) / 1000.0;
    const QByteArray bytes(reinterpret_cast<const char*>(entry.report->bytes.data()),
                           static_cast<qsizetype>(entry.report->bytes.size()));
    return QString("%1 %2 %3")
        .arg(seconds, 8, 'f', 3)
        .arg(entry.answer ? "<-" : "->")
        .arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

}  // namespace

QString reportLogText(const sim::SimBoard& board, std::uint32_t originMs, std::size_t count) {
    std::vector<Entry> received, answered, merged;
    appendTail(board.received, count, false, received);
    appendTail(board.answered, count, true, answered);
    const auto inOrder = [](const Entry& a, const Entry& b) { return a.report->serial < b.report->serial; };
    std::merge(received.begin(), received.end(), answered.begin(), answered.end(), std::back_inserter(merged),
               inOrder);
    const std::size_t skip = merged.size() > count ? merged.size() - count : 0;
    QStringList lines;
    for (std::size_t i = skip; i < merged.size(); ++i) lines << line(merged[i], originMs);
    return lines.join('\n');
}
