// tolvane-view [FILE.csv ...]: logs of every reading, opened without a board.
#include <QApplication>
#include <QCommandLineParser>

#include "common/program_identity.h"
#include "platform/window_system.h"
#include "view/history_window.h"

int main(int argc, char** argv) {
    prepareWindowSystem();
    QApplication app(argc, argv);
    setProgramIdentity("tolvane-view");
    QApplication::setApplicationName(kViewerTitle);
    QApplication::setApplicationVersion(TOLVANE_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Shows whole runs from logs of every reading (the panel's, tolvane-cli collect's), several "
        "overlaid: zoom, pan, statistics of the span on screen, export.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("FILE.csv", "Logs to open, each in its own colour.", "[FILE.csv ...]");
    parser.process(app);

    SteadyClock clock;
    QtDialogs dialogs;
    HistoryWindow window(dialogs, clock);
    window.show();
    window.open(parser.positionalArguments());
    return QApplication::exec();
}
