// HidapiTransport's own code against a double of the hidapi functions: what it asks of hidapi and
// what it makes of the answers, on a machine without boards.
#include "boardlink/hidapi_transport.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/hidapi/fake_hidapi.h"

namespace {

constexpr const char* kBoard = "/dev/hidraw3";
constexpr const char* kMouse = "/dev/hidraw0";

// Resets the double before the transport under test starts it.
struct FreshHidapi {
    FreshHidapi() { resetFakeHidapi(); }
};

struct Hidapi : ::testing::Test, FreshHidapi {
    Hidapi() {
        // hidapi lists an interface once per top-level usage, and may list an entry without a path.
        fake.interfaces = {{kMouse, 0x046D, 0xC077, 0x0110},
                           {kBoard, 0x7C4B, 0x2019, 0x0100},
                           {nullptr, 0x1234, 0x5678, 0},
                           {kBoard, 0x7C4B, 0x2019, 0x0100}};
    }
    FakeHidapi& fake = fakeHidapi();
    std::unique_ptr<HidapiTransport> transport = std::make_unique<HidapiTransport>();

    HidHandle openBoard() {
        transport->enumerate();
        return transport->open(kBoard);
    }
};

TEST_F(Hidapi, StartsHidapiOnceClosesEachHandleOnceAndOnDestructionWhatIsStillOpenThenStops) {
    EXPECT_EQ(fake.inits, 1);
    const HidHandle write = openBoard();
    const HidHandle read = transport->open(kBoard);
    transport->open(kMouse);
    EXPECT_NE(write, read);
    EXPECT_EQ(fake.openDevices, 3);
    transport->close(write);
    EXPECT_EQ(fake.closed, std::vector<std::string>{kBoard});
    // A closed handle reaches hidapi no more.
    Report report{1};
    EXPECT_FALSE(transport->write(write, report));
    EXPECT_FALSE(transport->read(write, report, 0));
    EXPECT_FALSE(transport->attributes(write));
    transport->close(write);
    EXPECT_TRUE(fake.writes.empty() && fake.reads.empty());

    transport.reset();
    EXPECT_EQ(fake.openDevices, 0);
    EXPECT_EQ(fake.closed.size(), 3u);
    EXPECT_EQ(fake.exits, 1);
    EXPECT_EQ(fake.unknownDevices, 0) << "nothing closed twice";
}

TEST_F(Hidapi, ListsEveryInterfacePathOnceWithItsIdsWithoutOpeningAndFreesTheList) {
    EXPECT_EQ(transport->enumerate(),
              (std::vector<HidInterface>{{kMouse, 0x046D, 0xC077}, {kBoard, 0x7C4B, 0x2019}}));
    EXPECT_EQ(fake.enumerations, (std::vector<std::pair<unsigned short, unsigned short>>{{0, 0}}))
        << "every HID device: the link itself picks the boards";
    EXPECT_EQ(fake.listsNotFreed, 0);
    EXPECT_EQ(fake.opens, 0) << "the ids come from the list, not from opening the devices";

    const auto board = transport->attributes(transport->open(kBoard));
    ASSERT_TRUE(board);
    EXPECT_EQ(board->vendorId, 0x7C4B);
    EXPECT_EQ(board->productId, 0x2019);
    EXPECT_EQ(board->version, 0x0100);
    EXPECT_EQ(transport->attributes(transport->open(kMouse))->productId, 0xC077);
    EXPECT_EQ(fake.enumerations.size(), 1u) << "the opens used the list just made";

    // A path the last list did not hold is listed again; one no list holds opens, unnamed.
    fake.interfaces.push_back({"/dev/hidraw7", 0x7C4B, 0x2019, 0x0200});
    EXPECT_EQ(transport->attributes(transport->open("/dev/hidraw7"))->version, 0x0200);
    EXPECT_EQ(fake.enumerations.size(), 2u);
    const HidHandle unlisted = transport->open("/dev/hidraw9");
    EXPECT_NE(unlisted, kInvalidHandle);
    EXPECT_FALSE(transport->attributes(unlisted));
    fake.unopenable.insert(kMouse);
    EXPECT_EQ(transport->open(kMouse), kInvalidHandle);
    EXPECT_EQ(fake.listsNotFreed, 0);
}

TEST_F(Hidapi, WritesTheWhole64ByteReportWithItsReportId) {
    const HidHandle handle = openBoard();
    Report report{1, 0x06, 0x88, 0x01, 0x01, 0x00, 0x80};
    report[63] = 0x5A;
    ASSERT_TRUE(transport->write(handle, report));
    ASSERT_EQ(fake.writes.size(), 1u);
    EXPECT_EQ(fake.writes[0].path, kBoard);
    EXPECT_EQ(fake.writes[0].bytes, Bytes(report.begin(), report.end()));

    for (int result : {63, 0, -1}) {
        fake.writeResult = result;
        EXPECT_FALSE(transport->write(handle, report)) << "hid_write gave " << result;
    }
}

TEST_F(Hidapi, ReadTakesOneReportWithinItsTimeOutAndLeavesTheReportAloneOtherwise) {
    const HidHandle handle = openBoard();
    Bytes answer(64, 0x11);
    answer[0] = 1;
    answer[1] = 0;
    fake.input[kBoard] = {answer, {1, 0, 0x42}};

    Report report{};
    ASSERT_TRUE(transport->read(handle, report, 6000));
    EXPECT_EQ(Bytes(report.begin(), report.end()), answer);
    report.fill(0xEE);
    ASSERT_TRUE(transport->read(handle, report, 0));
    EXPECT_EQ(report, (Report{1, 0, 0x42})) << "a short report leaves zeros behind it";

    report.fill(0xEE);
    EXPECT_FALSE(transport->read(handle, report, 1)) << "nothing came";
    fake.readFails = true;
    EXPECT_FALSE(transport->read(handle, report, 1));
    Report untouched;
    untouched.fill(0xEE);
    EXPECT_EQ(report, untouched) << "a read that fails leaves the report alone";

    std::vector<int> timeouts;
    for (const FakeHidapi::Read& read : fake.reads) {
        EXPECT_EQ(read.length, 64u);
        timeouts.push_back(read.timeoutMs);
    }
    EXPECT_EQ(timeouts, (std::vector<int>{6000, 0, 1, 1})) << "each time-out passed on as it is";
}

}  // namespace
