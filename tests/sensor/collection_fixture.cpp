#include "tests/sensor/collection_fixture.h"

void CollectionTest::collect(std::function<void()> meanwhile, std::function<void()> start) {
    bool inside = false;  // what the hook does may let events run again
    rig.events.meanwhile = [&] {
        if (inside) return;
        inside = true;
        meanwhile();
        inside = false;
    };
    if (start) {
        start();
    } else {
        panel().cmdCollectData_Click();
    }
    rig.events.meanwhile = nullptr;
}

void CollectionTest::collectSamples(int samples, std::function<void()> meanwhile) {
    collect([this, samples, meanwhile] {
        if (meanwhile) meanwhile();
        if (panel().Collecting && history().SampleIndex >= samples) panel().cmdStopData_Click();
    });
}

std::vector<std::uint32_t> CollectionTest::adcReadTimes(std::size_t from) {
    std::vector<std::uint32_t> times;
    const auto& log = rig.board().received;
    for (std::size_t i = from; i < log.size(); ++i) {
        if (describe(log[i].bytes) == "R04x2") times.push_back(log[i].timeMs);
    }
    return times;
}
