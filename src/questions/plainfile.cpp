#include "questions/plainfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace {

// What a path that stat or open refused names.
PlainFile::Kind refused(int error, const QByteArray& name) {
  struct stat link {};
  if (error == ELOOP) return PlainFile::Kind::LinkLoop;
  if (error == ENOENT || error == ENOTDIR)
    return ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode) ? PlainFile::Kind::LinkNowhere
                                                                          : PlainFile::Kind::Missing;
  return PlainFile::Kind::Unopenable;
}

PlainFile::Kind kindOf(const struct stat& st) {
  if (S_ISDIR(st.st_mode)) return PlainFile::Kind::Folder;
  return S_ISREG(st.st_mode) ? PlainFile::Kind::File : PlainFile::Kind::NotAFile;
}

}  // namespace

PlainFile::PlainFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  // Anything but a plain file is not even opened (opening a device can
  // start it)...
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) {
    error_ = errno;
    kind_ = refused(error_, name);
    return;
  }
  kind_ = kindOf(st);
  if (kind_ != Kind::File) return;
  // ... and what is opened is checked again on the open descriptor, as it
  // may have been swapped meanwhile. O_NONBLOCK: a pipe opens at once
  // instead of waiting for a writer; it changes nothing for a plain file.
  // O_NOCTTY: a terminal never becomes the program's own.
  fd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    kind_ = refused(error_, name);
    return;
  }
  if (::fstat(fd_, &st) != 0) {
    error_ = errno;
    kind_ = Kind::Unopenable;
  } else {
    kind_ = kindOf(st);
    size_ = st.st_size;
    mode_ = st.st_mode & 07777;
  }
  if (kind_ == Kind::File) return;
  ::close(fd_);
  fd_ = -1;
}

PlainFile::~PlainFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool PlainFile::readUpTo(const QString& path, qint64 max, QByteArray* bytes) {
  PlainFile file(path);
  bool ok = false;
  *bytes = file.read(max, &ok);
  return ok && file.kind() == Kind::File;
}

QByteArray PlainFile::read(qint64 max, bool* ok) {
  QByteArray bytes;
  bool good = fd_ >= 0;
  if (!good) error_ = EBADF;
  while (good && bytes.size() < max) {
    // Grows in steps as it reads: the size reported is no promise.
    const qsizetype want = static_cast<qsizetype>(std::min<qint64>(max - bytes.size(), 64 * 1024));
    const qsizetype had = bytes.size();
    bytes.resize(had + want);
    const ssize_t n = ::read(fd_, bytes.data() + had, static_cast<std::size_t>(want));
    if (n < 0 && errno == EINTR) {
      bytes.resize(had);
      continue;
    }
    bytes.resize(had + std::max<qsizetype>(n, 0));
    if (n < 0) {
      error_ = errno;
      good = false;
    }
    if (n <= 0) break;
  }
  if (ok) *ok = good;
  return bytes;
}
