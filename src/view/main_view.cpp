// tolvane-view [FILE.csv ...]: logs of every reading, opened without a board.
#include <QApplication>
#include <QCommandLineParser>

#include "common/program_identity.h"
#include "platform/window_system.h"
#include "view/history_window.h"

namespace {

// The files named on the command line; help, the version and a wrong option are answered here.
QStringList filesAsked(const QCoreApplication& app) {
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

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (qstrcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Help and the version need no display: they are answered before the window system is reached.
    // Otherwise the window system takes its own options (-platform, -style, -session) first.
    if (asksForHelpOrVersion(argc, argv)) filesAsked(QCoreApplication(argc, argv));
    prepareWindowSystem();
    QApplication app(argc, argv);
    setProgramIdentity("tolvane-view");
    const QStringList files = filesAsked(app);

    SteadyClock clock;
    QtDialogs dialogs;
    HistoryWindow window(dialogs, clock);
    window.show();
    window.open(files);
    return QApplication::exec();
}
