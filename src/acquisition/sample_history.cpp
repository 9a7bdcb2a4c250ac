#include "acquisition/sample_history.h"

#include <algorithm>

void SampleHistory::startRun() {
    std::fill_n(AdcHistory.begin(), kLastIndex + 1, 1.0);
    std::fill_n(IntegrationHistory.begin(), kLastIndex + 1, 1.0);
    SampleIndex = 0;
    savedSinceRunStart = false;
}

void SampleHistory::store(double count) {
    AdcHistory[static_cast<std::size_t>(SampleIndex)] = count;
    PlotValue = count;
}

void SampleHistory::advance() {
    if (SampleIndex < kLastIndex) ++SampleIndex;
}
