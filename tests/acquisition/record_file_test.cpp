// The record file: the block's exact bytes, and a writer that either writes the whole block or leaves
// the file as it was.
#include "acquisition/record_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>

namespace {

const QDateTime kWhen(QDate(2026, 12, 7), QTime(9, 30, 5));

SampleHistory historyUpTo(int sampleIndex) {
    SampleHistory history;
    history.startRun();
    for (int i = 0; i <= SampleHistory::kLastIndex; ++i) history.AdcHistory[i] = 100 + i;
    history.SampleIndex = static_cast<std::int16_t>(sampleIndex);
    return history;
}

QByteArray blockOf(const SampleHistory& history, const QString& command = "80",
                   const QString& control = "0E") {
    return recordBlock({command, control, "100", kWhen, history});
}

// The block's lines, each of which must end with CR LF.
QList<QByteArray> linesOf(QByteArray block) {
    EXPECT_TRUE(block.endsWith("\r\n"));
    EXPECT_EQ(block.count('\n'), block.count("\r\n")) << "a line feed without its carriage return";
    block.replace("\r\n", "\n").chop(1);
    return block.split('\n');
}

QByteArray contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Permission bits stop everyone but root: as root, `write` runs in a child process as the user nobody.
// True when it reported success.
bool writesAsAnotherUser(const std::function<bool()>& write) {
    if (::geteuid() != 0) return write();
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
        ::_exit(write() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isCharacterDevice(const char* path) {
    struct stat info {};
    return ::lstat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(RecordBlock, IsByteExact) {
    SampleHistory history = historyUpTo(25);
    history.AdcHistory[10] = 999999;  // the first counted sample: not written
    history.AdcHistory[12] = 0;
    history.AdcHistory[24] = 65535;
    history.AdcHistory[25] = 888888;  // not stored yet: not written
    QByteArray expected =
        "Seq,AD Decimal,Integration,Reg0:&h80 :Reg1 &h0E,Interval 100, 12-07-2026,09:30:05, Qty 14\n"
        " 0, 111, 1\n 1, 0, 1\n 2, 113, 1\n 3, 114, 1\n 4, 115, 1\n 5, 116, 1\n 6, 117, 1\n"
        " 7, 118, 1\n 8, 119, 1\n 9, 120, 1\n 10, 121, 1\n 11, 122, 1\n 12, 123, 1\n 13, 65535, 1\n"
        "END\n";
    expected.replace("\n", "\r\n");
    EXPECT_EQ(blockOf(history), expected);
}

TEST(RecordBlock, HoldsTheStoredSamplesFromIndex11) {
    const struct {
        int sampleIndex;
        int lines;
        const char* lastDataLine;
    } cases[] = {
        {20, 9, " 8, 119, 1"},
        {25, 14, " 13, 124, 1"},
        {1010, 999, " 998, 1109, 1"},  // element 1010, which later samples overwrite, is not written
        {5, 0, nullptr},               // never offered for writing; the count still matches the lines
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sampleIndex);
        const SampleHistory history = historyUpTo(c.sampleIndex);
        EXPECT_EQ(recordLineCount(history), c.lines);
        const QList<QByteArray> lines = linesOf(blockOf(history));
        ASSERT_EQ(lines.size(), c.lines + 2);
        EXPECT_TRUE(lines.front().endsWith(", Qty " + QByteArray::number(c.lines)))
            << lines.front().toStdString();
        EXPECT_EQ(lines.back(), "END");
        if (c.lastDataLine) {
            EXPECT_EQ(lines[c.lines], c.lastDataLine);
        }
    }
}

TEST(RecordBlock, WritesTheRegisterBoxesAsTheyStandInUtf8) {
    const std::pair<QString, QString> cases[] = {{"zz", "1"}, {"", " 8 0 "}, {"Grün", "€&h"}};
    const SampleHistory history = historyUpTo(20);
    for (const auto& [command, control] : cases) {
        const QString header = "Seq,AD Decimal,Integration,Reg0:&h" + command + " :Reg1 &h" + control +
                               ",Interval 100, 12-07-2026,09:30:05, Qty 9";
        EXPECT_EQ(linesOf(blockOf(history, command, control)).front(), header.toUtf8());
    }
}

TEST(RecordBlock, DateIsMonthDayYearAndTimeIs24Hours) {
    const struct {
        QDateTime when;
        const char* date;
        const char* time;
    } cases[] = {
        {kWhen, "12-07-2026", "09:30:05"},
        {QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59)), "01-31-2025", "23:59:59"},
        {QDateTime(QDate(2030, 10, 1), QTime(0, 0, 0)), "10-01-2030", "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recordDate(c.when), c.date);
        EXPECT_EQ(recordTime(c.when), c.time);
    }
}

class RecordWrite : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString at(const QString& name) const { return dir.filePath(name); }

    // Every name and byte under the folder, to show a failed write left nothing behind.
    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> all;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            all[path] = it.fileInfo().isDir() ? "<folder>" : contents(path);
        }
        return all;
    }
};

TEST_F(RecordWrite, AppendsBlockAfterBlockAndOverwriteReplaces) {
    const QByteArray first = blockOf(historyUpTo(20));
    const QByteArray second = blockOf(historyUpTo(25), "81", "0F");
    const QString path = at("Data.txt");

    EXPECT_EQ(writeRecordBlock(path, true, first), std::nullopt) << "a missing file is created";
    EXPECT_EQ(writeRecordBlock(path, true, second), std::nullopt);
    EXPECT_EQ(contents(path), first + second);

    EXPECT_EQ(writeRecordBlock(path, false, first), std::nullopt);
    EXPECT_EQ(contents(path), first);
    EXPECT_EQ(writeRecordBlock(at("New.txt"), false, second), std::nullopt);
    EXPECT_EQ(contents(at("New.txt")), second);
}

TEST_F(RecordWrite, OverwriteThroughALinkKeepsTheLink) {
    put(at("real.txt"), "old");
    ASSERT_TRUE(QFile::link(at("real.txt"), at("Data.txt")));
    const QByteArray block = blockOf(historyUpTo(20));
    EXPECT_EQ(writeRecordBlock(at("Data.txt"), false, block), std::nullopt);
    EXPECT_TRUE(QFileInfo(at("Data.txt")).isSymLink());
    EXPECT_EQ(contents(at("real.txt")), block);
}

// Replacing a device through a temporary file would swap the node for a plain file.
TEST_F(RecordWrite, ADeviceIsWrittenThroughNeverReplaced) {
    ASSERT_TRUE(isCharacterDevice("/dev/null"));
    for (bool append : {false, true}) {
        EXPECT_EQ(writeRecordBlock("/dev/null", append, blockOf(historyUpTo(20))), std::nullopt);
        EXPECT_TRUE(isCharacterDevice("/dev/null"));
    }
}

// Lowers the largest file this process may write, so that a write to a regular file fails part way
// the way a full disk makes it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

TEST_F(RecordWrite, AFailureReportsTheSystemTextAndLeavesEverythingAsItWas) {
    const QByteArray earlier = blockOf(historyUpTo(20));
    const QByteArray block = blockOf(historyUpTo(1010));
    const auto limit = static_cast<rlim_t>(earlier.size() + 100);
    const struct {
        const char* what;
        QString path;
        bool append;
        rlim_t sizeLimit;  // 0: none
    } cases[] = {
        {"a folder that does not exist", at("missing/Data.txt"), false, 0},
        {"a folder that does not exist", at("missing/Data.txt"), true, 0},
        {"a folder as the path", at("folder"), false, 0},
        {"a folder as the path", at("folder"), true, 0},
        {"an empty path", "", false, 0},
        {"an empty path", "", true, 0},
        {"a file as a folder", at("Data.txt/Data.txt"), false, 0},
        {"a file as a folder", at("Data.txt/Data.txt"), true, 0},
        {"a full device", "/dev/full", true, 0},
        {"a regular file that fills up", at("Data.txt"), false, limit},
        {"a regular file that fills up", at("Data.txt"), true, limit},
        {"a new file that fills up", at("New.txt"), false, limit},
        {"a new file that fills up", at("New.txt"), true, limit},
    };
    put(at("Data.txt"), earlier);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const auto before = snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.append ? ", appending" : ", overwriting"));
        std::optional<QString> error;
        if (c.sizeLimit) {
            FileSizeLimit limited(c.sizeLimit);
            error = writeRecordBlock(c.path, c.append, block);
        } else {
            error = writeRecordBlock(c.path, c.append, block);
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_FALSE(error->isEmpty());
        EXPECT_NE(*error, "Unknown error");
        EXPECT_EQ(snapshot(), before);
    }
}

// A file we may not write is left as it was; a file we may write in a folder where we may not create
// files (the safe replacement's temporary file) is written in place.
TEST_F(RecordWrite, PermissionsOfTheFileAndTheFolderAreHonoured) {
    const QByteArray earlier = blockOf(historyUpTo(20));
    const QByteArray block = blockOf(historyUpTo(25));
    const QString path = at("Data.txt");
    using P = QFileDevice;
    const P::Permissions readable = P::ReadOwner | P::ReadGroup | P::ReadOther;
    const P::Permissions writable = readable | P::WriteOwner | P::WriteGroup | P::WriteOther;
    const P::Permissions enterable = readable | P::ExeOwner | P::ExeGroup | P::ExeOther;
    struct Case {
        const char* what;
        P::Permissions file;
        bool append;
        bool writes;
    };
    for (const Case& c : {Case{"read-only file, overwrite", readable, false, false},
                          Case{"read-only file, append", readable, true, false},
                          Case{"writable file, overwrite", writable, false, true},
                          Case{"writable file, append", writable, true, true}}) {
        SCOPED_TRACE(c.what);
        QFile::setPermissions(dir.path(), enterable | P::WriteOwner);
        QFile::remove(path);
        put(path, earlier);
        ASSERT_TRUE(QFile::setPermissions(path, c.file));
        ASSERT_TRUE(QFile::setPermissions(dir.path(), enterable));  // no new file in here
        const bool wrote = writesAsAnotherUser([&] { return !writeRecordBlock(path, c.append, block); });
        EXPECT_EQ(wrote, c.writes);
        EXPECT_EQ(contents(path), c.writes ? (c.append ? earlier + block : block) : earlier);
    }
    QFile::setPermissions(dir.path(), enterable | P::WriteOwner);
}

TEST(DefaultRecordPath, IsTheProgramFolderWhenWritableElseDocuments) {
    EXPECT_EQ(defaultRecordPath("/opt/tolvane", true, "/home/ann/Documents"), "/opt/tolvane/Data.txt");
    EXPECT_EQ(defaultRecordPath("/opt/tolvane", false, "/home/ann/Documents"),
              "/home/ann/Documents/Data.txt");
}

}  // namespace
