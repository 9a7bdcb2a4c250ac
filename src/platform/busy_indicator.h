#pragma once

// Tells the user the program is waiting on something (the busy cursor), so a window that is blocked
// for a while is not taken for a hung program. Every show() is followed by one restore().
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void show() = 0;
    virtual void restore() = 0;
};

// The wait cursor over every window of the program.
class WaitCursor final : public BusyIndicator {
public:
    void show() override;
    void restore() override;
};

// Shows the indicator for as long as it lives.
class BusyWhile {
public:
    explicit BusyWhile(BusyIndicator& indicator) : indicator_(indicator) { indicator_.show(); }
    ~BusyWhile() { indicator_.restore(); }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    BusyIndicator& indicator_;
};
