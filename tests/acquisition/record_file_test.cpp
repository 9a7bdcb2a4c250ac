// The record file: the block's exact bytes, and a writer that either writes the whole block or leaves
// the file as it was.
#include "acquisition/record_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <optional>

#include "tests/doubles/file_size_limit.h"

namespace {

SampleHistory historyUpTo(int sampleIndex) {
    SampleHistory history;
    history.startRun();
    for (int i = 0; i <= SampleHistory::kLastIndex; ++i) history.AdcHistory[i] = 100 + i;
    history.SampleIndex = static_cast<std::int16_t>(sampleIndex);
    return history;
}

QByteArray blockOf(const SampleHistory& history) {
    return recordBlock({"80", "0E", "100", QDateTime(QDate(2026, 12, 7), QTime(9, 30, 5)), history});
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

// The panel's own test shows a run's block byte for byte. Here: the register boxes as they stand, in
// UTF-8, and the 24-hour time; element 1010, which later samples overwrite, is not written, and before
// element 11 there is nothing to write; the count always matches the lines.
TEST(RecordBlock, TheHeaderKeepsTheBoxesAndTheCountMatchesTheLines) {
    const QByteArray block = recordBlock(
        {"", "Grün€&h", "100", QDateTime(QDate(2025, 1, 31), QTime(23, 59, 59)), historyUpTo(20)});
    EXPECT_TRUE(block.startsWith(
        "Seq,AD Decimal,Integration,Reg0:&h :Reg1 &hGrün€&h,Interval 100, 01-31-2025,23:59:59, Qty 9\r\n"));
    for (const auto& [sampleIndex, lines, last] : {std::tuple{1010, 999, " 998, 1109, 1\r\nEND\r\n"},
                                                   {1200, 999, " 998, 1109, 1\r\nEND\r\n"},
                                                   {5, 0, ", Qty 0\r\nEND\r\n"}}) {
        EXPECT_EQ(recordLineCount(historyUpTo(sampleIndex)), lines);
        const QByteArray block = blockOf(historyUpTo(sampleIndex));
        EXPECT_TRUE(block.endsWith(last)) << block.right(30).toStdString();
        EXPECT_EQ(block.count("\r\n"), lines + 2);
        EXPECT_EQ(block.count('\n'), lines + 2);
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

// Overwriting through a link writes the file it names, and a device is written through, never swapped
// for a plain file by a safe replacement (the panel's tests show appending and overwriting).
TEST_F(RecordWrite, LinksAndDevicesAreWrittenThrough) {
    const QByteArray block = blockOf(historyUpTo(20));
    put(at("real.txt"), "old");
    ASSERT_TRUE(QFile::link(at("real.txt"), at("Data.txt")));
    for (const auto& [path, append] :
         {std::pair{at("Data.txt"), false}, {"/dev/null", false}, {"/dev/null", true}})
        EXPECT_EQ(writeRecordBlock(path, append, block), std::nullopt) << path.toStdString();
    EXPECT_EQ(contents(at("real.txt")), block);
    EXPECT_TRUE(QFileInfo(at("Data.txt")).isSymLink());
    struct stat info {};
    EXPECT_TRUE(::lstat("/dev/null", &info) == 0 && S_ISCHR(info.st_mode)) << "still the device";
}

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
            const std::optional<FileSizeLimit> limited =
                c.sizeLimit ? std::optional<FileSizeLimit>(std::in_place, c.sizeLimit) : std::nullopt;
            const std::optional<QString> error = writeRecordBlock(c.path, append, block);
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
    for (const auto& [file, append, writes] : {std::tuple{readable, false, false},
                                               {readable, true, false},
                                               {writable, false, true},
                                               {writable, true, true}}) {
        SCOPED_TRACE(testing::Message() << "writable " << writes << ", appending " << append);
        QFile::setPermissions(dir.path(), enterable | P::WriteOwner);
        QFile::remove(path);
        put(path, earlier);
        ASSERT_TRUE(QFile::setPermissions(path, file));
        ASSERT_TRUE(QFile::setPermissions(dir.path(), enterable));  // no new file in here
        EXPECT_EQ(writesAsAnotherUser([&] { return !writeRecordBlock(path, append, block); }), writes);
        EXPECT_EQ(contents(path), writes ? (append ? earlier + block : block) : earlier);
    }
    QFile::setPermissions(dir.path(), enterable | P::WriteOwner);
}

TEST(DefaultRecordPath, IsTheProgramFolderWhenWritableElseDocuments) {
    EXPECT_EQ(defaultRecordPath("/opt/tolvane", true, "/home/ann/Documents"), "/opt/tolvane/Data.txt");
    EXPECT_EQ(defaultRecordPath("/opt/tolvane", false, "/home/ann/Documents"),
              "/home/ann/Documents/Data.txt");
}

}  // namespace
