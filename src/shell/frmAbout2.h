#pragma once

#include <QWidget>
#include <functional>

// Placeholder until the About box lands.
class frmAbout2 : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout2(std::function<void()> unload) : unload_(std::move(unload)) {}
    void cmdOK_Click() { unload_(); }

private:
    std::function<void()> unload_;
};
