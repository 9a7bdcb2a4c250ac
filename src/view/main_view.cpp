// tolvane-view [FILE.csv ...]: logs of every reading, opened without a board.
#include <QApplication>
#include <QCommandLineParser>

#include "common/program_identity.h"
#include "platform/window_system.h"
#include "view/history_window.h"

namespace {

// The files named on the command line. Help, the version and a wrong option are answered here, before
// the window system is reached: they need no display.
QStringList filesAsked(int& argc, char** argv) {
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kViewerTitle);
    QCoreApplication::setApplicationVersion(TOLVANE_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Shows whole runs from logs of every reading (the panel's, tolvane-cli collect's), several "
        "overlaid: zoom, pan, statistics of the span on screen, export.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("FILE.csv", "Logs to open, each in its own colour.", "[FILE.csv ...]");
    parser.process(app);
    return parser.positionalArguments();
}

}  // namespace

int main(int argc, char** argv) {
    const QStringList files = filesAsked(argc, argv);
    prepareWindowSystem();
    QApplication app(argc, argv);
    setProgramIdentity("tolvane-view");
    QApplication::setApplicationName(kViewerTitle);
    QApplication::setApplicationVersion(TOLVANE_VERSION);

    SteadyClock clock;
    QtDialogs dialogs;
    HistoryWindow window(dialogs, clock);
    window.show();
    window.open(files);
    return QApplication::exec();
}
