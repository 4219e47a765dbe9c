#pragma once

#include <QByteArray>
#include <QString>

// A file someone may have replaced with anything (a pipe, a device, a
// folder, a link that loops or leads nowhere), opened for reading without
// ever blocking: the open does not wait for a pipe's writer, and what was
// opened is checked on the open descriptor itself, so nothing swapped in
// between a look at the path and the open can block or flood the program.
class PlainFile {
 public:
  enum class Kind {
    File,         // a plain file, open
    Missing,      // nothing by that name
    Folder,       // a folder
    NotAFile,     // a pipe, a device, a socket
    LinkLoop,     // a symbolic link that leads back to itself
    LinkNowhere,  // a symbolic link whose target is missing
    Unopenable,   // there, but the open failed (error() tells why)
  };

  explicit PlainFile(const QString& path);
  ~PlainFile();
  PlainFile(const PlainFile&) = delete;
  PlainFile& operator=(const PlainFile&) = delete;

  Kind kind() const { return kind_; }
  // The errno of a failed open or read.
  int error() const { return error_; }
  // The size and permission bits of the open file.
  qint64 size() const { return size_; }
  unsigned mode() const { return mode_; }
  // Reads on from where the last read stopped, at most max bytes; ok is
  // false on a read error (error() tells which).
  QByteArray read(qint64 max, bool* ok = nullptr);
  // The first max bytes of the plain file at path, in bytes; false when it
  // is no plain file or cannot be read.
  static bool readUpTo(const QString& path, qint64 max, QByteArray* bytes);

 private:
  int fd_ = -1;
  Kind kind_ = Kind::Missing;
  int error_ = 0;
  qint64 size_ = 0;
  unsigned mode_ = 0;
};
