#pragma once

class frmMain;

// What the sensor panel needs from the program around it.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    // The console window, created (and so loaded) first if it does not exist yet.
    virtual frmMain& console() = 0;
    // Shows the one About window.
    virtual void showAbout() = 0;
    // "Exit": unloads the About window if it is loaded, then the start-up selector, which ends
    // the program.
    virtual void unloadAboutAndStartup() = 0;
};
