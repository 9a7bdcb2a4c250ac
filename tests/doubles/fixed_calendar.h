#pragma once

#include <QDateTime>

#include "platform/calendar.h"

// Always the same moment, unless the test moves it.
class FixedCalendar final : public Calendar {
public:
    QDateTime now() override { return at; }
    QDateTime at{QDate(2026, 12, 7), QTime(9, 30, 5)};
};
