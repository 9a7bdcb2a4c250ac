#pragma once

#include <array>
#include <bitset>
#include <utility>

// A register action that a handler asked for while the collection loop owned the chip.
enum class DeferredAction {
    ClearInt,
    ControlWrite,
    CommandWrite,
    HighLimitWrite,
    LowLimitWrite,
    RegisterRead
};

// The register actions waiting for the collection loop, which carries them out between two samples in
// the order of kOrder. Each action's own operation takes it off the set when it runs. Apart from the
// actions, the set remembers whether anything was asked for since the loop last looked: a run's start
// forgets that, so what was asked for before waits until the run itself asks for something.
class DeferredActions {
public:
    static constexpr std::array kOrder{DeferredAction::ClearInt,      DeferredAction::ControlWrite,
                                       DeferredAction::CommandWrite,  DeferredAction::HighLimitWrite,
                                       DeferredAction::LowLimitWrite, DeferredAction::RegisterRead};

    void defer(DeferredAction action) {
        waiting_.set(bit(action));
        updateWaiting_ = true;
    }
    // Done, or no longer wanted.
    void drop(DeferredAction action) { waiting_.reset(bit(action)); }
    bool waiting(DeferredAction action) const { return waiting_.test(bit(action)); }

    bool updateWaiting() const { return updateWaiting_; }
    // The loop looks now: true when something was asked for since it last did.
    bool takeUpdate() { return std::exchange(updateWaiting_, false); }
    void dropUpdate() { updateWaiting_ = false; }

private:
    static std::size_t bit(DeferredAction action) { return static_cast<std::size_t>(action); }

    std::bitset<kOrder.size()> waiting_;
    bool updateWaiting_ = false;
};
