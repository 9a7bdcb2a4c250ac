#include "acquisition/acquisition.h"

Acquisition::Acquisition(CollectionHost& host, Services& services, std::function<void()> restart)
    : chart(services.events),
      collection(new CollectionFrame),
      chartFrame(new ChartFrame(
          chart, history, services, *collection, [this] { stop(); }, restart)),
      record(new frmDataRecord(history, host, *collection, services, [this] { stop(); })),
      log(*record, services),
      loop_(host, services, history, chart, *collection, *chartFrame->Picture1, log) {}
