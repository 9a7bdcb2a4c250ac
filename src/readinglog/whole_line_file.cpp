#include "readinglog/whole_line_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Writes until all is out or a write takes nothing; returns how much went out.
template <class WriteSome>
qint64 writeUntilRefused(const QByteArray& bytes, WriteSome writeSome) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = writeSome(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) break;
        done += written;
    }
    return done;
}

}  // namespace

qint64 writeAll(QFileDevice& file, const QByteArray& bytes) {
    return writeUntilRefused(bytes, [&](const char* data, qint64 size) { return file.write(data, size); });
}

WholeLineFile::WholeLineFile(const QString& path, Write write)
    : write_(write ? std::move(write)
                   : [](QFile& file, const char* data, qint64 size) { return file.write(data, size); }),
      file_(path),
      path_(path) {}

bool WholeLineFile::create() {
    // A named pipe with no reader would hold the open for ever, deaf even to Ctrl-C: such a pipe is
    // refused at once, one that a program reads is written as any file.
    const QByteArray name = QFile::encodeName(path_);
    struct stat target {};
    if (::stat(name.constData(), &target) != 0 || !S_ISFIFO(target.st_mode)) return open(QIODevice::Truncate);
    size_ = 0;
    const int pipe = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);  // fails with no reader
    if (pipe < 0) {
        error_ = errno == ENXIO ? QStringLiteral("No program reads this named pipe") : qt_error_string(errno);
        return false;
    }
    ::fcntl(pipe, F_SETFL, ::fcntl(pipe, F_GETFL) & ~O_NONBLOCK);  // a row waits for room, whole
    if (openOn(pipe, QFileDevice::AutoCloseHandle)) return true;
    ::close(pipe);
    return false;
}

bool WholeLineFile::createNew() {
    return open(QIODevice::NewOnly);
}

bool WholeLineFile::openOn(int descriptor, QFileDevice::FileHandleFlags close) {
    size_ = 0;
    error_.clear();
    if (file_.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, close)) return true;
    error_ = file_.errorString();
    return false;
}

bool WholeLineFile::open(QIODevice::OpenMode mode) {
    size_ = 0;
    error_.clear();
    if (file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered | mode)) return true;
    error_ = file_.errorString();
    return false;
}

bool WholeLineFile::append(const QByteArray& lines) {
    const qint64 done =
        writeUntilRefused(lines, [this](const char* data, qint64 size) { return write_(file_, data, size); });
    if (done == lines.size()) {
        size_ += done;
        return true;
    }
    // Taken before the cut back, which would put its own outcome in its place.
    error_ = file_.error() == QFileDevice::NoError ? QStringLiteral("the disk took no more bytes")
                                                   : file_.errorString();
    const qint64 whole = done > 0 ? lines.lastIndexOf('\n', done - 1) + 1 : 0;
    size_ += whole;
    // The torn row ends the file: only it goes, and what another writer put in a file we share
    // (standard output with its errors) stays.
    if (whole < done && !file_.isSequential()) file_.resize(file_.size() - (done - whole));
    return false;
}
