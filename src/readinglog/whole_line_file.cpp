#include "readinglog/whole_line_file.h"

qint64 writeAll(QFileDevice& file, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) break;
        done += written;
    }
    return done;
}

bool WholeLineFile::create() {
    size_ = 0;
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) return true;
    error_ = file_.errorString();
    return false;
}

bool WholeLineFile::append(const QByteArray& lines) {
    const qint64 done = writeAll(file_, lines);
    if (done == lines.size()) {
        size_ += done;
        return true;
    }
    // Taken before the cut back, which would put its own outcome in its place.
    error_ = file_.errorString();
    if (done > 0) file_.resize(size_);
    return false;
}
