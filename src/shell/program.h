#pragma once

#include <memory>

class QWidget;

#include "boardlink/board_link.h"
#include "platform/services.h"
#include "sensor/panel_host.h"
#include "shell/window_placement.h"

class frmStartup;
class frmMain;
class frmTolvane;
class frmAbout2;

// Owns one complete program: the board link and the windows, created on demand as the program's
// own design creates them. A test can build as many independent programs as it likes.
class Program final : public PanelHost {
public:
    Program(Services& services, HidTransport& transport);
    ~Program() override;

    // Creates and shows the start-up selector, the only window created at start.
    void start();

    Services& services;
    BoardLink link;

    frmStartup& startup();
    bool hasConsole() const { return console_ != nullptr; }
    frmMain& console() override;  // creates and loads it when missing
    bool hasPanel() const { return panel_ != nullptr; }
    frmTolvane& panel();  // creates and loads it when missing
    // Shows the panel; the first time at its full size where the screen holds it, with the companion
    // window beside it, or where there is no room beside it, over the panel clear of its run controls.
    void openPanel();
    // A window of the program's own that keeps beside the panel (the demo's board window).
    void setCompanion(QWidget* companion) { companion_ = companion; }
    bool hasAbout() const { return about_ != nullptr; }
    frmAbout2* about() { return about_.get(); }
    void showAbout() override;
    void unloadAbout();
    void unloadAboutAndStartup() override;

private:
    void placeCompanion(QRect available, WindowFrame frame);

    std::unique_ptr<frmStartup> startup_;
    std::unique_ptr<frmMain> console_;
    std::unique_ptr<frmTolvane> panel_;
    std::unique_ptr<frmAbout2> about_;
    QWidget* companion_ = nullptr;
    bool panelPlaced_ = false;
};
