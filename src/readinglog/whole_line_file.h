#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

// Writes until all of `bytes` is out or the system refuses; returns how much went out. The file's
// errorString() then says why.
qint64 writeAll(QFileDevice& file, const QByteArray& bytes);

// A file of lines that ends on a whole line, whatever the disk does: each append reaches the system at
// once (nothing waits in a buffer to be torn later), and of one the system takes only part, the whole
// lines stay and the rest is taken back. A full disk then costs the lines not yet written, never a line
// half written.
class WholeLineFile {
public:
    // One write to the open file: how many bytes it took, 0 or -1 when it took none. The system's
    // write unless a test puts a disk that fills up in its place.
    using Write = std::function<qint64(QFile& file, const char* data, qint64 size)>;

    explicit WholeLineFile(const QString& path = {}, Write write = {});

    void setFileName(const QString& path) {
        file_.setFileName(path);
        path_ = path;
    }
    // Creates the file, or empties one that exists; false when it cannot, error() says why. A named pipe
    // is written to when a program reads it, and refused at once when none does.
    bool create();
    // Creates the file only where nothing has its name (also nothing another program creates meanwhile,
    // and never a pipe that would wait for a reader); false when it cannot: exists() tells a name taken.
    bool createNew();
    // Writes to a descriptor already open (standard output) from where it stands; it stays open after
    // unless `close` says otherwise.
    bool openOn(int descriptor, QFileDevice::FileHandleFlags close = QFileDevice::DontCloseHandle);
    // Appends `lines`; false when the system refuses part of them: the whole lines written stay,
    // size() says how much this has written in all, error() why it stopped.
    bool append(const QByteArray& lines);
    void close() { file_.close(); }
    bool remove() { return file_.remove(); }

    bool isOpen() const { return file_.isOpen(); }
    bool exists() const { return file_.exists(); }
    QString fileName() const { return path_; }
    qint64 size() const { return size_; }
    // The system's reason for the last failure ("No space left on device").
    QString error() const { return error_; }

private:
    bool open(QIODevice::OpenMode mode);

    Write write_;
    QFile file_;
    qint64 size_ = 0;  // what this has written: whole lines only
    QString path_;     // kept apart: a file opened on its descriptor forgets its name
    QString error_;
};
