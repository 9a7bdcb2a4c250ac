#pragma once

// Settings for the window system, made before the application object exists.
//
// On X11 our windows repaint a few small areas ten times a second. Through the X server's shared memory
// every repaint first waits for the server to answer that it has finished with the last one (a round
// trip, and the waking of two processes); copying the pixels through the connection needs no answer
// and, for areas this size, costs less. The program then takes about a fifth less of a processor while
// it collects. Whoever sets QT_XCB_NO_MITSHM themselves keeps their choice.
void prepareWindowSystem();
