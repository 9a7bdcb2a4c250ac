#include "cli/outcome.h"

namespace {

ExitStatus statusOf(BoardFault fault) {
    switch (fault) {
        case BoardFault::NoBoard:
        case BoardFault::NoPermission:
            return ExitNoBoard;
        case BoardFault::NotAcknowledged:
        case BoardFault::ReadBackDiffers:
            return ExitChip;
        case BoardFault::LinkLost:
            break;
    }
    return ExitLinkLost;
}

}  // namespace

Failure::Failure(const BoardFailure& failure) : status(statusOf(failure.fault)), message(failure.message) {}
