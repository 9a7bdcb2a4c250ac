#pragma once

#include <QDateTime>

// The wall-clock date and time, for what the user reads as a date (record file, status line).
class Calendar {
public:
    virtual ~Calendar() = default;
    virtual QDateTime now() = 0;
};

class SystemCalendar final : public Calendar {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

// Test double: always the same moment, unless the test moves it.
class FixedCalendar final : public Calendar {
public:
    QDateTime now() override { return at; }
    QDateTime at{QDate(2026, 12, 7), QTime(9, 30, 5)};
};
