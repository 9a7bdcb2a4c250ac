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

// The first counted sample (element 10) and one not stored yet are not written.
TEST(RecordBlock, IsByteExact) {
    SampleHistory history = historyUpTo(25);
    history.AdcHistory[10] = 999999;
    history.AdcHistory[12] = 0;
    history.AdcHistory[24] = 65535;
    history.AdcHistory[25] = 888888;
    QByteArray expected =
        "Seq,AD Decimal,Integration,Reg0:&h80 :Reg1 &h0E,Interval 100, 12-07-2026,09:30:05, Qty 14\n"
        " 0, 111, 1\n 1, 0, 1\n 2, 113, 1\n 3, 114, 1\n 4, 115, 1\n 5, 116, 1\n 6, 117, 1\n"
        " 7, 118, 1\n 8, 119, 1\n 9, 120, 1\n 10, 121, 1\n 11, 122, 1\n 12, 123, 1\n 13, 65535, 1\n"
        "END\n";
    EXPECT_EQ(blockOf(history), expected.replace("\n", "\r\n"));
    EXPECT_EQ(recordLineCount(history), 14);

    // Element 1010, which later samples overwrite, is not written; before element 11 there is nothing to
    // write, and the count still matches the lines.
    for (const auto& [sampleIndex, lines, last] :
         {std::tuple{1010, 999, " 998, 1109, 1\r\nEND\r\n"}, {5, 0, ", Qty 0\r\nEND\r\n"}}) {
        EXPECT_EQ(recordLineCount(historyUpTo(sampleIndex)), lines);
        const QByteArray block = blockOf(historyUpTo(sampleIndex));
        EXPECT_TRUE(block.endsWith(last)) << block.right(30).toStdString();
        EXPECT_EQ(block.count("\r\n"), lines + 2);
        EXPECT_EQ(block.count('\n'), lines + 2);
    }
}

// The register boxes as they stand, in UTF-8; the date month first, the time on 24 hours.
TEST(RecordBlock, TheHeaderHasTheRegisterBoxesTheDateAndTheTime) {
    const struct {
        QString command, control;
        QDateTime when;
        const char* header;
    } cases[] = {
        {"zz", "1", kWhen,
         "Seq,AD Decimal,Integration,Reg0:&hzz :Reg1 &h1,Interval 100, 12-07-2026,09:30:05"},
        {"", " 8 0 ", QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59)),
         "Seq,AD Decimal,Integration,Reg0:&h :Reg1 &h 8 0 ,Interval 100, 01-31-2025,23:59:59"},
        {"Grün", "€&h", QDateTime(QDate(2030, 10, 1), QTime(0, 0, 0)),
         "Seq,AD Decimal,Integration,Reg0:&hGrün :Reg1 &h€&h,Interval 100, 10-01-2030,00:00:00"},
    };
    for (const auto& c : cases) {
        const QByteArray block = recordBlock({c.command, c.control, "100", c.when, historyUpTo(20)});
        EXPECT_TRUE(block.startsWith(QByteArray(c.header) + ", Qty 9\r\n")) << c.header;
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

// Appending creates a missing file; overwriting through a link writes the file it names, and a device is
// written through, never swapped for a plain file by a safe replacement.
TEST_F(RecordWrite, AppendExtendsOverwriteReplacesThroughLinksAndDevices) {
    const QByteArray first = blockOf(historyUpTo(20));
    const QByteArray second = blockOf(historyUpTo(25), "81", "0F");
    put(at("real.txt"), "old");
    ASSERT_TRUE(QFile::link(at("real.txt"), at("Data.txt")));
    const struct {
        QString path;
        bool append;
        const QByteArray& block;
        QString file;
        QByteArray contents;
    } writes[] = {
        {at("New.txt"), true, first, at("New.txt"), first},
        {at("New.txt"), true, second, at("New.txt"), first + second},
        {at("New.txt"), false, second, at("New.txt"), second},
        {at("Data.txt"), false, first, at("real.txt"), first},
        {"/dev/null", false, first, {}, {}},
        {"/dev/null", true, first, {}, {}},
    };
    for (const auto& w : writes) {
        EXPECT_EQ(writeRecordBlock(w.path, w.append, w.block), std::nullopt) << w.path.toStdString();
        if (!w.file.isEmpty()) EXPECT_EQ(contents(w.file), w.contents);
    }
    EXPECT_TRUE(QFileInfo(at("Data.txt")).isSymLink());
    EXPECT_TRUE(isCharacterDevice("/dev/null"));
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
        rlim_t sizeLimit;  // 0: none
    } cases[] = {
        {"a folder that does not exist", at("missing/Data.txt"), 0},
        {"a folder as the path", at("folder"), 0},
        {"an empty path", "", 0},
        {"a file as a folder", at("Data.txt/Data.txt"), 0},
        {"a full device", "/dev/full", 0},
        {"a regular file that fills up", at("Data.txt"), limit},
        {"a new file that fills up", at("New.txt"), limit},
    };
    put(at("Data.txt"), earlier);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const auto before = snapshot();
    for (const auto& c : cases)
        for (bool append : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (append ? ", appending" : ", overwriting"));
            std::optional<QString> error;
            if (c.sizeLimit) {
                FileSizeLimit limited(c.sizeLimit);
                error = writeRecordBlock(c.path, append, block);
            } else {
                error = writeRecordBlock(c.path, append, block);
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
