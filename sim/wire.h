#pragma once

#include <cstddef>
#include <cstdint>

// The board protocol as the bridge firmware reads it. Typed from the protocol's tables on purpose
// rather than shared with the program: a wrong number on either side then shows in the tests instead
// of passing them and failing on the first real board.
namespace sim::wire {

inline constexpr std::uint16_t kVendorId = 0x7C4B;
inline constexpr std::uint16_t kProductId = 0x2019;
inline constexpr std::uint8_t kReportId = 1;  // byte 0 of every answer

// Byte 1 of an output report.
enum Command : std::uint8_t {
    Led = 1,
    GpConfig = 2,
    GpValue = 3,
    I2cOptions = 4,
    I2cClock = 5,
    I2cTransfer = 6,
    SpiOptions = 7,
    SpiClock = 8,
};

// Byte 2 of every command but the I2C transfer.
enum SubCommand : std::uint8_t { Set = 0, Get = 1 };

// Byte 1 of an answer. Only 0 is success; the firmware's other codes tell its failures apart.
enum Status : std::uint8_t { Ok = 0, NotAcknowledged = 1, Malformed = 2, UnknownCommand = 0xFF };

// Byte positions in the 64-byte reports.
inline constexpr std::size_t kCommandByte = 1;
inline constexpr std::size_t kSubCommandByte = 2;
inline constexpr std::size_t kSetValueByte = 3;  // a set's value, and the pull-up switch of a port get
inline constexpr std::size_t kStatusByte = 1;
inline constexpr std::size_t kAnswerDataStart = 2;
// An I2C transfer: slave address (read form odd), data count, register-address count r, then the
// r register-address bytes and, for a write, the data.
inline constexpr std::size_t kSlaveAddressByte = 2;
inline constexpr std::size_t kDataCountByte = 3;
inline constexpr std::size_t kRegisterCountByte = 4;
inline constexpr std::size_t kRegisterAddressStart = 5;

}  // namespace sim::wire
