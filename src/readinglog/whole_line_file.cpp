#include "readinglog/whole_line_file.h"

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
      file_(path) {}

bool WholeLineFile::create() {
    return open(QIODevice::Truncate);
}

bool WholeLineFile::createNew() {
    return open(QIODevice::NewOnly);
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
    if (whole < done) file_.resize(size_);
    return false;
}
