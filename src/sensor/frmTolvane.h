#pragma once

#include <QWidget>

#include "boardlink/board_link.h"
#include "platform/services.h"
#include "sensor/panel_host.h"

// Placeholder until the sensor panel lands.
class frmTolvane : public QWidget {
    Q_OBJECT
public:
    frmTolvane(PanelHost& host, BoardLink& link, Services& services)
        : host_(host), link_(link), services_(services) {
        setWindowTitle("Tolvane  Light Sensor Evaluation Software");
    }
    void Form_Load() {}

private:
    [[maybe_unused]] PanelHost& host_;
    [[maybe_unused]] BoardLink& link_;
    [[maybe_unused]] Services& services_;
};
