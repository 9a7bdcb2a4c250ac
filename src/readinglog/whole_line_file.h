#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes until all of `bytes` is out or the system refuses; returns how much went out. The file's
// errorString() then says why.
qint64 writeAll(QFileDevice& file, const QByteArray& bytes);

// A file of lines that ends on a whole line, whatever the disk does: each append reaches the system at
// once (nothing waits in a buffer to be torn later), and one the system takes only part of is taken
// back. A full disk then costs the line being written, never a line half written.
class WholeLineFile {
public:
    explicit WholeLineFile(const QString& path) : file_(path) {}

    // Creates the file, or empties it; false when it cannot, error() says why.
    bool create();
    // Appends `lines` whole or not at all; false when the system refuses them, error() says why.
    bool append(const QByteArray& lines);

    QString fileName() const { return file_.fileName(); }
    // The system's reason for the last failure ("No space left on device").
    QString error() const { return error_; }

private:
    QFile file_;
    qint64 size_ = 0;  // what the file holds: whole lines only
    QString error_;
};
