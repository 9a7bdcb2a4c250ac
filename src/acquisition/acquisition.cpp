#include "acquisition/acquisition.h"

Acquisition::Acquisition(CollectionHost& host, Services& services)
    : chart(services.events),
      collection(new CollectionFrame),
      chartFrame(new ChartFrame(
          chart, history, services, *collection, [this] { loop.stop(); }, [this] { loop.collect(); })),
      record(new frmDataRecord(history, host, *collection, services, [this] { loop.stop(); })),
      log(*record, services),
      historyView(*record, log, services),
      loop(host, services, history, chart, *collection, *chartFrame->Picture1, log) {}
