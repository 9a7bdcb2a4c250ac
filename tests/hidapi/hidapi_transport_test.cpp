// HidapiTransport's own code against a double of the hidapi functions, linked in place of the library:
// what it asks of hidapi and what it makes of the answers, on a machine without boards.
#include "boardlink/hidapi_transport.h"

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <memory>
#include <set>
#include <tuple>
#include <utility>

struct hid_device_ {
    std::string path;
};

namespace {

using Bytes = std::vector<unsigned char>;

// C functions reach nothing but a global: what the test sets, and a record of every call.
struct FakeHidapi {
    struct Interface {
        const char* path;  // may be null, as hidapi allows
        unsigned short vendorId, productId, release;
        const wchar_t* serial = nullptr;
    };
    std::vector<Interface> interfaces;  // in the order hid_enumerate lists them
    std::set<std::string> unopenable;   // hid_open_path fails on these
    std::deque<Bytes> input;            // the next reports read
    int writeResult = -2;               // what hid_write returns; -2: the length it was given
    bool readFails = false;

    int inits = 0, exits = 0, listsNotFreed = 0, opens = 0,
        strangers = 0;  // strangers: calls on closed devices
    std::vector<std::pair<unsigned short, unsigned short>> enumerations;  // vendor and product asked for
    std::vector<std::pair<std::string, Bytes>> writes;
    std::vector<std::pair<std::size_t, int>> reads;  // length and time-out
    std::vector<std::string> closed;
    std::set<hid_device*> open;
    bool stranger(hid_device* device) { return !open.contains(device) && ++strangers; }
} fake;

}  // namespace

extern "C" {

int hid_init(void) {
    return ++fake.inits, 0;
}

int hid_exit(void) {
    return ++fake.exits, 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
    fake.enumerations.emplace_back(vendor_id, product_id);
    hid_device_info* head = nullptr;
    for (auto it = fake.interfaces.rbegin(); it != fake.interfaces.rend(); ++it) {
        auto* info = new hid_device_info{};
        info->path = it->path ? strdup(it->path) : nullptr;
        info->serial_number = it->serial ? wcsdup(it->serial) : nullptr;
        std::tie(info->vendor_id, info->product_id, info->release_number) =
            std::tie(it->vendorId, it->productId, it->release);
        info->next = std::exchange(head, info);
    }
    fake.listsNotFreed += head != nullptr;
    return head;
}

void hid_free_enumeration(hid_device_info* devs) {
    fake.listsNotFreed -= devs != nullptr;
    for (hid_device_info* next; devs; devs = next) {
        next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        delete devs;
    }
}

hid_device* hid_open_path(const char* path) {
    ++fake.opens;
    return fake.unopenable.contains(path) ? nullptr : *fake.open.insert(new hid_device{path}).first;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
    if (fake.stranger(dev)) return -1;
    fake.writes.emplace_back(dev->path, Bytes(data, data + length));
    return fake.writeResult == -2 ? static_cast<int>(length) : fake.writeResult;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
    if (fake.stranger(dev)) return -1;
    fake.reads.emplace_back(length, milliseconds);
    if (fake.readFails) return -1;
    if (fake.input.empty()) return 0;  // nothing within the time-out
    const std::size_t count = std::min(length, fake.input.front().size());
    std::copy_n(fake.input.front().begin(), count, data);
    fake.input.pop_front();
    return static_cast<int>(count);
}

void hid_close(hid_device* dev) {
    if (fake.stranger(dev)) return;
    fake.closed.push_back(dev->path);
    fake.open.erase(dev);
    delete dev;
}

}  // extern "C"

namespace {

constexpr const char* kBoard = "/dev/hidraw3";
constexpr const char* kMouse = "/dev/hidraw0";

struct Hidapi : ::testing::Test {
    Hidapi() {
        for (hid_device* device : fake.open) delete device;
        fake = FakeHidapi{};
        // hidapi lists an interface once per top-level usage, and may list an entry without a path.
        fake.interfaces = {{kMouse, 0x046D, 0xC077, 0x0110},
                           {kBoard, 0x7C4B, 0x2019, 0x0100, L"TV\u00c40042"},
                           {nullptr, 0x1234, 0x5678, 0},
                           {kBoard, 0x7C4B, 0x2019, 0x0100}};
        transport = std::make_unique<HidapiTransport>();
        transport->enumerate();
        board = transport->open(kBoard);
    }
    std::unique_ptr<HidapiTransport> transport;
    HidHandle board;
    Report report{1, 0x06, 0x88, 0x01, 0x01, 0x00, 0x80};
};

TEST_F(Hidapi, StartsOnceListsEachPathOnceOpensWithTheListedIdsAndClosesEachHandleOnce) {
    EXPECT_EQ(fake.inits, 1);
    EXPECT_EQ(transport->enumerate(), (std::vector<HidInterface>{{kMouse, 0x046D, 0xC077, ""},
                                                                 {kBoard, 0x7C4B, 0x2019, "TV\u00c40042"}}));
    EXPECT_EQ(fake.enumerations.front(), (std::pair<unsigned short, unsigned short>{0, 0}))
        << "every HID device: the link itself picks the boards";
    EXPECT_EQ(fake.opens, 1) << "the ids come from the list, not from opening the devices";
    const auto attributes = transport->attributes(board).value_or(HidAttributes{});
    EXPECT_EQ(std::tuple(attributes.vendorId, attributes.productId, attributes.version),
              std::tuple(0x7C4B, 0x2019, 0x0100));
    EXPECT_NE(transport->open(kBoard), board);
    EXPECT_EQ(transport->attributes(transport->open(kMouse))->productId, 0xC077);
    EXPECT_EQ(fake.enumerations.size(), 2u) << "the opens used the list just made";

    // A path the last list did not hold is listed again; one no list holds opens, unnamed.
    fake.interfaces.push_back({"/dev/hidraw7", 0x7C4B, 0x2019, 0x0200});
    EXPECT_EQ(transport->attributes(transport->open("/dev/hidraw7"))->version, 0x0200);
    EXPECT_EQ(fake.enumerations.size(), 3u);
    const HidHandle unlisted = transport->open("/dev/hidraw9");
    EXPECT_NE(unlisted, kInvalidHandle);
    EXPECT_FALSE(transport->attributes(unlisted));
    fake.unopenable.insert(kMouse);
    EXPECT_EQ(transport->open(kMouse), kInvalidHandle);
    EXPECT_EQ(fake.listsNotFreed, 0);

    transport->close(board);
    EXPECT_EQ(fake.closed, std::vector<std::string>{kBoard});
    // A closed handle reaches hidapi no more.
    EXPECT_FALSE(transport->write(board, report));
    EXPECT_FALSE(transport->read(board, report, 0));
    EXPECT_FALSE(transport->attributes(board));
    transport->close(board);
    EXPECT_TRUE(fake.writes.empty() && fake.reads.empty());
    transport.reset();
    EXPECT_TRUE(fake.open.empty());
    EXPECT_EQ(fake.closed.size(), 5u);
    EXPECT_EQ(fake.exits, 1);
    EXPECT_EQ(fake.strangers, 0) << "nothing closed twice";
}

TEST_F(Hidapi, WritesTheWhole64ByteReportAndReadsOneReportWithinItsTimeOut) {
    report[63] = 0x5A;
    ASSERT_TRUE(transport->write(board, report));
    EXPECT_EQ(fake.writes,
              (std::vector{std::pair(std::string(kBoard), Bytes(report.begin(), report.end()))}));
    for (int result : {63, 0, -1}) {
        fake.writeResult = result;
        EXPECT_FALSE(transport->write(board, report)) << "hid_write gave " << result;
    }

    Bytes answer(64, 0x11);
    answer[1] = 0;
    fake.input = {answer, {1, 0, 0x42}};
    ASSERT_TRUE(transport->read(board, report, 6000));
    EXPECT_EQ(Bytes(report.begin(), report.end()), answer);
    report.fill(0xEE);
    ASSERT_TRUE(transport->read(board, report, 0));
    EXPECT_EQ(report, (Report{1, 0, 0x42})) << "a short report leaves zeros behind it";

    report.fill(0xEE);
    EXPECT_FALSE(transport->read(board, report, 1)) << "nothing came";
    fake.readFails = true;
    EXPECT_FALSE(transport->read(board, report, 1));
    EXPECT_TRUE(std::ranges::all_of(report, [](auto byte) { return byte == 0xEE; }))
        << "a read that fails leaves the report alone";
    EXPECT_EQ(fake.reads, (std::vector<std::pair<std::size_t, int>>{{64, 6000}, {64, 0}, {64, 1}, {64, 1}}))
        << "each time-out passed on as it is";
}

}  // namespace
