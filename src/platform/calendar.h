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
