#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A test double of the hidapi functions HidapiTransport calls, linked in place of the library: the
// interfaces hid_enumerate lists, the input reports each path has for hid_read_timeout, and a record
// of every call. C functions can reach nothing but a global, so there is one; each test resets it.
struct FakeHidapi {
    struct Interface {
        const char* path;  // may be null, as hidapi allows
        unsigned short vendorId = 0;
        unsigned short productId = 0;
        unsigned short release = 0;
    };
    struct Write {
        std::string path;
        Bytes bytes;
    };
    struct Read {
        std::string path;
        std::size_t length;
        int timeoutMs;
    };

    // Set by the test.
    std::vector<Interface> interfaces;               // in the order hid_enumerate lists them
    std::set<std::string> unopenable;                // hid_open_path fails on these
    std::map<std::string, std::deque<Bytes>> input;  // the next reports read on a path
    int writeResult = -2;                            // what hid_write returns; -2: the length it was given
    bool readFails = false;                          // hid_read_timeout returns -1

    // Recorded.
    int inits = 0;
    int exits = 0;
    std::vector<std::pair<unsigned short, unsigned short>> enumerations;  // vendor and product asked for
    int listsNotFreed = 0;
    std::vector<Write> writes;
    std::vector<Read> reads;
    std::vector<std::string> closed;
    int unknownDevices = 0;  // calls with a device that is not open: must stay 0
    int openDevices = 0;
    int opens = 0;  // every hid_open_path call, successful or not
};

FakeHidapi& fakeHidapi();
void resetFakeHidapi();
