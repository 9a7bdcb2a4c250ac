#pragma once

#include <map>
#include <optional>
#include <string>

#include "boardlink/hid_transport.h"

struct hid_device_;

// Real boards through hidapi (hidraw on Linux). Byte 0 of every report is the report id, which
// hidapi passes through unchanged.
class HidapiTransport final : public HidTransport {
public:
    HidapiTransport();
    ~HidapiTransport() override;
    HidapiTransport(const HidapiTransport&) = delete;
    HidapiTransport& operator=(const HidapiTransport&) = delete;

    std::vector<HidInterface> enumerate() override;
    HidHandle open(const std::string& path) override;
    std::optional<HidAttributes> attributes(HidHandle handle) override;
    bool write(HidHandle handle, const Report& report) override;
    bool read(HidHandle handle, Report& report, int timeoutMs) override;
    void close(HidHandle handle) override;

private:
    struct Open {
        hid_device_* device;
        HidAttributes attributes;
        bool attributesKnown = false;  // the path was in the enumeration when it was opened
    };
    hid_device_* deviceOf(HidHandle handle) const;
    std::optional<HidAttributes> enumeratedAttributes(const std::string& path);

    std::map<HidHandle, Open> open_;
    std::map<std::string, HidAttributes> enumerated_;  // by path, from the last enumeration
    HidHandle nextHandle_ = 1;
};
