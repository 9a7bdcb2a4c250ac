// What installing puts on a machine: the install tree staged under a temporary DESTDIR, the Debian
// package made from it, and the desktop files checked by the desktop's own validators where installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kRules = "usr/lib/udev/rules.d/60-tolvane-evaluation-board.rules";
const QString kEntry = "usr/share/applications/tolvane.desktop";
const QString kDemoEntry = "usr/share/applications/tolvane-demo.desktop";
const QString kViewEntry = "usr/share/applications/tolvane-view.desktop";
const QString kCopyright = "usr/share/doc/tolvane/copyright";
const QString kMetainfo = "usr/share/metainfo/com.halvora.Tolvane.metainfo.xml";
const QString kIcons = "usr/share/icons/hicolor/";
const QString kPython = "usr/lib/python3/dist-packages/";
// Every file an install with prefix /usr puts down, relative to the root, sorted.
QStringList installTree() {
    QStringList files =
        QString("usr/bin/tolvane usr/bin/tolvane-cli usr/bin/tolvane-demo usr/bin/tolvane-view").split(' ');
    files << kRules << kDemoEntry << kEntry << kViewEntry << kCopyright << kMetainfo
          << kIcons + "scalable/apps/tolvane.svg";
    files << kPython + TOLVANE_PYTHON_MODULE << kPython + "tolvane.pyi";
    for (const char* size : {"32x32", "48x48", "64x64", "128x128", "256x256"})
        files << kIcons + size + "/apps/tolvane.png";
    files.sort();
    return files;
}

struct Outcome {
    int exitCode = -1;
    QString output;  // standard output and error together
};

// `variables` ("NAME=value") are set in the program's environment.
Outcome run(const QString& program, const QStringList& arguments, const QStringList& variables = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(50000) || process.exitStatus() != QProcess::NormalExit) return {-1, program};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QStringList filesUnder(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// One staged install for every test of the tree: it copies the programs, which takes a moment.
struct InstallTree : ::testing::Test {
    static void SetUpTestSuite() {
        stage = new QTemporaryDir;
        install = new Outcome(run(TOLVANE_CMAKE, {"--install", TOLVANE_BUILD_DIR, "--prefix", "/usr"},
                                  {"DESTDIR=" + stage->path()}));
    }
    static void TearDownTestSuite() { delete install, delete stage; }
    void SetUp() override { ASSERT_EQ(install->exitCode, 0) << install->output.toStdString(); }
    static QString installed(const QString& path) { return stage->filePath(path); }

    static inline QTemporaryDir* stage = nullptr;
    static inline Outcome* install = nullptr;
};

TEST_F(InstallTree, HoldsTheProgramsThePythonModuleTheUdevRuleTheEntriesTheIconsAndTheMetainfo) {
    EXPECT_EQ(filesUnder(stage->path()), installTree());
    for (const char* program : {"usr/bin/tolvane", "usr/bin/tolvane-demo", "usr/bin/tolvane-cli"})
        EXPECT_TRUE(QFileInfo(installed(program)).isExecutable()) << program;
    // The installed tool and viewer run on the system's libraries alone, without a display.
    for (const char* program : {"tolvane-cli", "tolvane-view"}) {
        const Outcome version = run(installed(QString("usr/bin/") + program), {"--version"},
                                    {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_TRUE(version.output.contains(" 3.")) << version.output.toStdString();
    }
    // The viewer leaves the window system its own options (a session manager passes -session).
    const Outcome styled = run(installed("usr/bin/tolvane-view"), {"-style", "fusion", "--bogus"},
                               {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_TRUE(styled.output.endsWith("Tolvane Log Viewer: Unknown option 'bogus'.\n"))
        << styled.output.toStdString();
    // And the installed module imports into the system's interpreter.
    const QStringList python = QString(TOLVANE_PYTHON_ENVIRONMENT).split(' ', Qt::SkipEmptyParts);
    const Outcome imported = run("/usr/bin/python3", {"-c", "import tolvane; print(tolvane.__version__)"},
                                 python + QStringList{"PYTHONPATH=" + installed(kPython)});
    EXPECT_EQ(imported.output.trimmed(), TOLVANE_VERSION) << imported.output.toStdString();

    // Each entry starts its program with the installed icon; the desktop matches windows by the class.
    const std::pair<QString, QStringList> files[] = {
        {kRules, {R"(ATTRS{idVendor}=="7c4b", ATTRS{idProduct}=="2019")", R"(TAG+="uaccess")"}},
        {kEntry, {"\nExec=tolvane\n", "\nIcon=tolvane\n", "\nStartupWMClass=tolvane\n"}},
        {kDemoEntry, {"\nExec=tolvane-demo\n", "\nIcon=tolvane\n", "\nStartupWMClass=tolvane-demo\n"}},
        {kViewEntry, {"\nName=Tolvane Log Viewer\n", "\nExec=tolvane-view %F\n", "\nMimeType=text/csv;\n"}},
        {kCopyright, {"\nLicense: GPL-3.0-or-later\n"}},
        {kMetainfo,
         {"<id>com.halvora.Tolvane</id>", R"(<launchable type="desktop-id">tolvane.desktop</launchable>)"}},
    };
    for (const auto& [file, lines] : files)
        for (const QString& line : lines)
            EXPECT_TRUE(contents(installed(file)).contains(line)) << file.toStdString() << line.toStdString();

    const std::pair<const char*, QStringList> validators[] = {
        {"desktop-file-validate", {installed(kEntry), installed(kDemoEntry), installed(kViewEntry)}},
        {"appstreamcli", {"validate", "--no-net", installed(kMetainfo)}},
    };
    for (const auto& [tool, arguments] : validators) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (path.isEmpty()) GTEST_SKIP() << tool << " is not installed";
        const Outcome checked = run(path, arguments);
        EXPECT_EQ(checked.exitCode, 0) << checked.output.toStdString();
        if (tool == std::string("desktop-file-validate")) {
            EXPECT_EQ(checked.output.trimmed(), "") << "not even a hint";
        }
    }
}

// cpack makes the package in a temporary folder, as `make package` does in the build folder.
TEST(DebianPackage, HoldsTheInstallTreeNeedsTheRuntimeLibrariesAndReloadsTheUdevRules) {
    for (const char* tool : {"dpkg-deb", "dpkg-shlibdeps"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    QTemporaryDir out;
    const Outcome packed = run(
        TOLVANE_CPACK, {"-G", "DEB", "--config", TOLVANE_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()});
    ASSERT_EQ(packed.exitCode, 0) << packed.output.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << packed.output.toStdString();
    const QString deb = out.filePath(debs[0]);
    EXPECT_TRUE(debs[0].startsWith("tolvane_")) << debs[0].toStdString();

    ASSERT_EQ(run("dpkg-deb", {"-x", deb, out.filePath("root")}).exitCode, 0);
    EXPECT_EQ(filesUnder(out.filePath("root")), installTree());
    const Outcome depends = run("dpkg-deb", {"-f", deb, "Depends"});
    for (const char* library : {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libhidapi-hidraw0",
                                "libqcustomplot2.1-qt6", "libstdc++6", "python3 (", "python3-numpy"})
        EXPECT_TRUE(depends.output.contains(library)) << library << " in: " << depends.output.toStdString();

    const QString control = out.filePath("control");
    ASSERT_EQ(run("dpkg-deb", {"-e", deb, control}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(control + "/postinst").isExecutable());
    EXPECT_TRUE(contents(control + "/postinst").contains("udevadm control --reload-rules"));
}

}  // namespace
