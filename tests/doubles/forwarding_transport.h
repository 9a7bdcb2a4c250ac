#pragma once

#include "boardlink/hid_transport.h"

// Hands every operation on to another transport; a double overrides the one it stands in for.
class ForwardingTransport : public HidTransport {
public:
    explicit ForwardingTransport(HidTransport& wire) : wire_(wire) {}
    std::vector<HidInterface> enumerate() override { return wire_.enumerate(); }
    HidHandle open(const std::string& path) override { return wire_.open(path); }
    std::optional<HidAttributes> attributes(HidHandle handle) override { return wire_.attributes(handle); }
    bool write(HidHandle handle, const Report& report) override { return wire_.write(handle, report); }
    bool read(HidHandle handle, Report& report, int timeoutMs) override {
        return wire_.read(handle, report, timeoutMs);
    }
    void close(HidHandle handle) override { wire_.close(handle); }

private:
    HidTransport& wire_;
};

// Flips bit 0 of the first data byte of every answer: a chip that does not keep what it is given.
class ForgetfulChip final : public ForwardingTransport {
public:
    using ForwardingTransport::ForwardingTransport;
    bool read(HidHandle handle, Report& report, int timeoutMs) override {
        const bool arrived = ForwardingTransport::read(handle, report, timeoutMs);
        report[2] ^= 1;
        return arrived;
    }
};
