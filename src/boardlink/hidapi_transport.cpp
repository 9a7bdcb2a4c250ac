#include "boardlink/hidapi_transport.h"

#include <hidapi/hidapi.h>

#include <QString>

HidapiTransport::HidapiTransport() {
    hid_init();
}

HidapiTransport::~HidapiTransport() {
    for (auto& [handle, open] : open_) hid_close(open.device);
    hid_exit();
}

std::vector<HidInterface> HidapiTransport::enumerate() {
    std::vector<HidInterface> interfaces;
    enumerated_.clear();
    // The list comes from the system's device records: nothing is opened to make it.
    hid_device_info* const all = hid_enumerate(0, 0);
    for (const hid_device_info* info = all; info != nullptr; info = info->next) {
        if (info->path == nullptr) continue;
        // hidapi can list one interface once per top-level usage; we list each interface once.
        const std::string path = info->path;
        if (enumerated_.contains(path)) continue;
        const QString serial = info->serial_number ? QString::fromWCharArray(info->serial_number) : QString();
        interfaces.push_back({path, info->vendor_id, info->product_id, serial.toStdString()});
        enumerated_[path] = {info->vendor_id, info->product_id, info->release_number};
    }
    hid_free_enumeration(all);
    return interfaces;
}

std::optional<HidAttributes> HidapiTransport::enumeratedAttributes(const std::string& path) {
    if (!enumerated_.contains(path)) enumerate();
    const auto found = enumerated_.find(path);
    if (found == enumerated_.end()) return std::nullopt;
    return found->second;
}

HidHandle HidapiTransport::open(const std::string& path) {
    hid_device* const device = hid_open_path(path.c_str());
    if (device == nullptr) return kInvalidHandle;
    const std::optional<HidAttributes> attributes = enumeratedAttributes(path);
    const HidHandle handle = nextHandle_++;
    open_[handle] = {device, attributes.value_or(HidAttributes{}), attributes.has_value()};
    return handle;
}

hid_device_* HidapiTransport::deviceOf(HidHandle handle) const {
    const auto found = open_.find(handle);
    return found == open_.end() ? nullptr : found->second.device;
}

std::optional<HidAttributes> HidapiTransport::attributes(HidHandle handle) {
    const auto found = open_.find(handle);
    if (found == open_.end() || !found->second.attributesKnown) return std::nullopt;
    return found->second.attributes;
}

bool HidapiTransport::write(HidHandle handle, const Report& report) {
    hid_device* const device = deviceOf(handle);
    return device != nullptr &&
           hid_write(device, report.data(), report.size()) == static_cast<int>(report.size());
}

bool HidapiTransport::read(HidHandle handle, Report& report, int timeoutMs) {
    hid_device* const device = deviceOf(handle);
    if (device == nullptr) return false;
    // A short report leaves zeros behind it; a failed read leaves the caller's report alone.
    Report received{};
    if (hid_read_timeout(device, received.data(), received.size(), timeoutMs) <= 0) return false;
    report = received;
    return true;
}

void HidapiTransport::close(HidHandle handle) {
    const auto found = open_.find(handle);
    if (found == open_.end()) return;
    hid_close(found->second.device);
    open_.erase(found);
}
