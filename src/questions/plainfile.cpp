#include "questions/plainfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

PlainFile::PlainFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  // O_NONBLOCK: a pipe opens at once instead of waiting for a writer; it
  // changes nothing for a plain file. O_NOCTTY: a terminal never becomes the
  // program's own.
  fd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    struct stat link {};
    if (error_ == ELOOP)
      kind_ = Kind::LinkLoop;
    else if (error_ == ENOENT || error_ == ENOTDIR)
      kind_ = ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode) ? Kind::LinkNowhere : Kind::Missing;
    else
      kind_ = Kind::Unopenable;
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    error_ = errno;
    kind_ = Kind::Unopenable;
  } else if (S_ISDIR(st.st_mode)) {
    kind_ = Kind::Folder;
  } else if (!S_ISREG(st.st_mode)) {
    kind_ = Kind::NotAFile;
  } else {
    kind_ = Kind::File;
    size_ = st.st_size;
    mode_ = st.st_mode & 07777;
    return;
  }
  ::close(fd_);
  fd_ = -1;
}

PlainFile::~PlainFile() {
  if (fd_ >= 0) ::close(fd_);
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
