#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "boardlink/hid_transport.h"

// A report holding the given bytes from byte `first` on and zeros everywhere else: what a test
// expects on the wire or makes a board answer. Byte 0 is the report id (1 on the wire).
inline Report reportOf(std::initializer_list<std::uint8_t> bytes, std::size_t first = 0) {
    Report report{};
    std::copy(bytes.begin(), bytes.end(), report.begin() + first);
    return report;
}
