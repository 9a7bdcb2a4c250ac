#include "tests/hidapi/fake_hidapi.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstring>

struct hid_device_ {
    std::string path;
};

namespace {

FakeHidapi& state() {
    static FakeHidapi fake;
    return fake;
}

std::set<hid_device*>& devices() {
    static std::set<hid_device*> open;
    return open;
}

bool known(hid_device* device) {
    if (devices().contains(device)) return true;
    ++state().unknownDevices;
    return false;
}

}  // namespace

FakeHidapi& fakeHidapi() {
    return state();
}

void resetFakeHidapi() {
    for (hid_device* device : devices()) delete device;
    devices().clear();
    state() = FakeHidapi{};
}

extern "C" {

int hid_init(void) {
    ++state().inits;
    return 0;
}

int hid_exit(void) {
    ++state().exits;
    return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
    state().enumerations.emplace_back(vendor_id, product_id);
    hid_device_info* head = nullptr;
    for (auto it = state().interfaces.rbegin(); it != state().interfaces.rend(); ++it) {
        auto* info = new hid_device_info{};
        if (it->path) info->path = std::strcpy(new char[std::strlen(it->path) + 1], it->path);
        info->vendor_id = it->vendorId;
        info->product_id = it->productId;
        info->release_number = it->release;
        info->next = head;
        head = info;
    }
    if (head) ++state().listsNotFreed;
    return head;
}

void hid_free_enumeration(hid_device_info* devs) {
    if (devs) --state().listsNotFreed;
    while (devs) {
        hid_device_info* next = devs->next;
        delete[] devs->path;
        delete devs;
        devs = next;
    }
}

hid_device* hid_open_path(const char* path) {
    ++state().opens;
    if (state().unopenable.contains(path)) return nullptr;
    auto* device = new hid_device{path};
    devices().insert(device);
    ++state().openDevices;
    return device;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
    if (!known(dev)) return -1;
    state().writes.push_back({dev->path, Bytes(data, data + length)});
    return state().writeResult == -2 ? static_cast<int>(length) : state().writeResult;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
    if (!known(dev)) return -1;
    state().reads.push_back({dev->path, length, milliseconds});
    if (state().readFails) return -1;
    std::deque<Bytes>& queue = state().input[dev->path];
    if (queue.empty()) return 0;  // nothing within the time-out
    const Bytes report = queue.front();
    queue.pop_front();
    const std::size_t count = std::min(length, report.size());
    std::copy_n(report.begin(), count, data);
    return static_cast<int>(count);
}

void hid_close(hid_device* dev) {
    if (!known(dev)) return;
    state().closed.push_back(dev->path);
    devices().erase(dev);
    --state().openDevices;
    delete dev;
}

}  // extern "C"
