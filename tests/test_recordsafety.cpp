// What a save may and may not do to the files beside the program: a
// learner's record is never moved or deleted, only the program's own
// temporary files are removed, and a name stands for one learner.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <chrono>
#include <thread>

#include "questions/questionfile.h"
#include "records/classreport.h"
#include "records/recordfile.h"
#include "testapp.h"
#include "testfiles.h"

using recordfile::LoadResult;

// When no copy of an incomplete record can be made (a full disk, here a
// file size limit of zero, which must not end the program; a folder in the
// record's place), the save writes nothing, moves nothing and says why.
TEST(RecordSafetyDeathTest, ARecordIsNeverMovedWhenNoCopyCanBeMade) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  writeFile(dir + QStringLiteral("a.dat"), "1,3");
  auto fullDisk = [&] {
    ::signal(SIGXFSZ, SIG_DFL);
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_FSIZE, &none) != 0) _exit(100);
    QString error;
    const bool saved = recordfile::save(dir, QStringLiteral("a"), slots6(1, 0, 0, 4, 0, 0), &error);
    QString full;
    const bool wrote = recordfile::save(dir, QStringLiteral("w"), slots6(1, 0, 0, 4, 0, 0), &full);
    _exit(!saved && error.contains(QStringLiteral("そのまま")) && !wrote && full.contains(QStringLiteral("いっぱい"))
              ? 0
              : 1);
  };
  EXPECT_EXIT(fullDisk(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("a.dat")});
  EXPECT_EQ(readFile(dir + QStringLiteral("a.dat")), QByteArray("1,3"));

  QDir().mkpath(dir + QStringLiteral("b.dat"));
  writeFile(dir + QStringLiteral("b.dat/inside"), "keep");
  QString error;
  EXPECT_FALSE(recordfile::save(dir, QStringLiteral("b"), slots6(0, 0, 0, 1, 0, 0), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("フォルダ"))) << error.toStdString();
  EXPECT_EQ(readFile(dir + QStringLiteral("b.dat/inside")), QByteArray("keep"));
  EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral("a.dat"), QStringLiteral("b.dat")}));
}

// A record a teacher made read-only, in a folder the learner may write: the
// save says so instead of blaming the folder or the disk. A writable record
// on a disk remounted read-only: the save blames the disk, not the record.
TEST(RecordSafetyDeathTest, AReadOnlyRecordOrDiskIsReportedAsSuch) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  const QByteArray folder = QFile::encodeName(tmp.path());
  ::chmod(folder.constData(), 0777);
  writeFile(dir + QStringLiteral("r.dat"), "1,2,0,0,0,0\r\n");
  auto saveSays = [&](const char* says, const char* never) {
    QString error;
    const bool saved = recordfile::save(dir, QStringLiteral("r"), slots6(1, 0, 0, 3, 0, 0), &error);
    _exit(!saved && error.contains(QString::fromUtf8(says)) && !error.contains(QString::fromUtf8(never)) ? 0 : 1);
  };
  ::chmod(QFile::encodeName(dir + QStringLiteral("r.dat")).constData(), 0444);
  auto asLearner = [&] {
    if (::geteuid() == 0 && ::setuid(65534) != 0) _exit(100);
    saveSays("書き込み禁止", "ディスク");
  };
  EXPECT_EXIT(asLearner(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(readFile(dir + QStringLiteral("r.dat")), QByteArray("1,2,0,0,0,0\r\n"));
  ::chmod(QFile::encodeName(dir + QStringLiteral("r.dat")).constData(), 0644);
  // The folder remounted read-only in a mount namespace of the child's own
  // (where the machine allows one).
  const pid_t child = ::fork();
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) != 0 ||
        ::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
      _exit(77);
    saveSays("読み取り専用のディスク", "書き込み禁止");
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace here for the read-only disk";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A record that is no plain file (a pipe, a link to a device, a huge sparse
// file, a link that leads nowhere or loops, a folder) is never read whole nor
// copied: registration, the save, the class report and the checker answer at
// once, say what it is and name it, and change nothing; nor does a pipe
// swapped in while the path is looked at block any of them.
TEST(RecordSafety, ARecordThatIsNoPlainFileIsNeverReadWholeNorCopied) {
  struct Case {
    const char* name;
    std::function<void(const QString& dir, const QString& x)> make;  // makes x, the record: dir + "x.dat"
    const char* says;
  };
  using Path = const QString&;
  const std::vector<Case> cases = {
      {"pipe", [](Path, Path x) { ASSERT_EQ(::mkfifo(QFile::encodeName(x).constData(), 0644), 0); }, "パイプや装置"},
      {"device link", [](Path, Path x) { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), x)); }, "パイプや装置"},
      {"huge sparse file",
       [](Path, Path x) {
         writeFile(x, "");
         ASSERT_EQ(::truncate(QFile::encodeName(x).constData(), 3LL << 30), 0);
       },
       "大きすぎ"},
      {"link to an unplugged stick",
       [](Path d, Path x) { ASSERT_TRUE(QFile::link(d + QStringLiteral("stick/x.dat"), x)); }, "先のファイルが見つか"},
      {"link loop",
       [](Path d, Path x) {
         ASSERT_TRUE(QFile::link(d + QStringLiteral("y.dat"), x));
         ASSERT_TRUE(QFile::link(x, d + QStringLiteral("y.dat")));
       },
       "リンクが循環"},
      {"folder", [](Path, Path x) { ASSERT_TRUE(QDir().mkpath(x)); }, "フォルダ"},
  };
  for (const Case& c : cases) {
    TestApp app;
    c.make(app.dir(), app.dir() + QStringLiteral("x.dat"));
    const QStringList before = filesIn(app.dir());
    app.registerName(QStringLiteral("x"));
    ASSERT_EQ(app.fake.boxes.size(), 1u) << c.name;
    EXPECT_TRUE(holdsAll(app.fake.boxes[0].text, {QStringLiteral("「x.dat」"), QString::fromUtf8(c.says)}));
    EXPECT_TRUE(app.fake.modals.empty()) << c.name;  // not greeted as a new learner
    QString error;
    EXPECT_FALSE(recordfile::save(app.dir(), QStringLiteral("x"), slots6(1, 0, 0, 1, 0, 0), &error)) << c.name;
    EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
    EXPECT_EQ(filesIn(app.dir()), before) << c.name;
    const std::vector<classreport::Row> rows = classreport::read(app.dir());
    ASSERT_FALSE(rows.empty());
    EXPECT_FALSE(rows[0].problem.isEmpty() || rows[0].problem.contains(QStringLiteral("消されました"))) << c.name;
    QByteArray bytes;
    EXPECT_FALSE(readQuestionFile(app.dir() + QStringLiteral("x.dat"), &bytes).empty()) << c.name;
  }
  // A pipe swapped in and out of a record's place as fast as it goes.
  QTemporaryDir tmp;
  const QByteArray dir = QFile::encodeName(tmp.path()) + '/';
  writeFile(tmp.path() + QStringLiteral("/plain"), "1,3");
  ASSERT_EQ(::mkfifo((dir + "pipe").constData(), 0644), 0);
  std::atomic<bool> stop{false}, blocked{false};
  std::atomic<long> progress{0};
  std::thread swapper([&] {
    long seen = -1;
    auto still = std::chrono::steady_clock::now();
    for (int i = 0; !stop; ++i) {
      ::link((dir + (i % 2 ? "pipe" : "plain")).constData(), (dir + "s.tmp").constData());
      ::rename((dir + "s.tmp").constData(), (dir + "s.dat").constData());
      const auto now = std::chrono::steady_clock::now();
      if (progress != seen) {
        seen = progress;
        still = now;
      } else if (now - still > std::chrono::milliseconds(500)) {
        // A reader waits for the pipe's writer: let it go, and tell.
        const int fd = ::open((dir + "pipe").constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
          blocked = true;
          ::close(fd);
        }
        still = now;
      }
    }
  });
  const QString folder = tmp.path() + u'/';
  for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
       std::chrono::steady_clock::now() < end; ++progress) {
    LearnerRecord learner{};
    QByteArray bytes;
    recordfile::read(folder, QStringLiteral("s"), learner);
    (void)recordfile::saveProblem(folder, QStringLiteral("s"));
    (void)classreport::read(folder);
    (void)readQuestionFile(folder + QStringLiteral("s.dat"), &bytes);
  }
  stop = true;
  swapper.join();
  EXPECT_FALSE(blocked);
}

// Only the program's own temporary files go, beside the record and beside
// the file a linked record leads to; a teacher's copies stay.
TEST(RecordSafety, OnlyTheProgramsOwnTemporaryFilesAreRemoved) {
  struct Case {
    const char* name;
    QByteArray bytes;
    bool removed;
  };
  const std::vector<Case> cases = {
      {"hana.dat.~Ab12C", "0,6,0,0,0,0\r\n", true},  // a save killed before its rename
      {"hana.dat.~zz99Z", "", true},                 // killed before it wrote
      {"hana.dat.~Qq1Qq", "my notes", false},
      {"hana.dat.~Ab12", "0,6", false},
      {"hana.dat.backup", "2,5,0,0,0,0\r\n", false},
      {"hana.dat.201912", "2,5,0,0,0,0\r\n", false},
      {"hana.dat.bak100", "2,5,0,0,0,0\r\n", false},
      {"hana.dat.AbCdEf", "2,5,0,0,0,0\r\n", false},
      {"hanako.dat.~Ab12C", "0,1,0,0,0,0\r\n", false},
  };
  QTemporaryDir tmp;
  const QString app = tmp.path() + QStringLiteral("/app/");
  const QString shared = tmp.path() + QStringLiteral("/shared/");
  QDir().mkpath(app);
  QDir().mkpath(shared);
  writeFile(app + QStringLiteral("hana.dat"), "2,5,0,0,0,0\r\n");
  writeFile(shared + QStringLiteral("ken.dat"), "1,2,0,0,0,0\r\n");
  ASSERT_TRUE(QFile::link(shared + QStringLiteral("ken.dat"), app + QStringLiteral("ken.dat")));
  for (int round = 0; round < 2; ++round) {
    QStringList kept = {QStringLiteral("hana.dat"), QStringLiteral("ken.dat")};
    for (const Case& c : cases) {
      writeFile(app + QString::fromUtf8(c.name), c.bytes);
      if (!c.removed) kept += QString::fromUtf8(c.name);
    }
    writeFile(shared + QStringLiteral("ken.dat.~Xy12Z"), "1,2,0");
    kept.sort();
    LearnerRecord learner{};
    if (round == 0) {
      EXPECT_EQ(recordfile::load(app, QStringLiteral("hana"), learner), LoadResult::Loaded);
      EXPECT_EQ(recordfile::load(app, QStringLiteral("ken"), learner), LoadResult::Loaded);
    } else {
      ASSERT_TRUE(recordfile::save(app, QStringLiteral("hana"), slots6(2, 0, 0, 6, 0, 0)));
      ASSERT_TRUE(recordfile::save(app, QStringLiteral("ken"), slots6(1, 0, 0, 3, 0, 0)));
      EXPECT_TRUE(QFileInfo(app + QStringLiteral("ken.dat")).isSymLink());
      EXPECT_EQ(readFile(shared + QStringLiteral("ken.dat")), QByteArray("1,3,0,0,0,0\r\n"));
    }
    EXPECT_EQ(filesIn(app), kept) << round;
    EXPECT_EQ(filesIn(shared), QStringList{QStringLiteral("ken.dat")}) << round;
  }
}

// Once every copy name up to .bak999 is taken, a copy with the same bytes
// still lets the save go on; otherwise the learner hears it at registration.
TEST(RecordSafety, UsedUpCopyNamesAreToldAtRegistration) {
  TestApp app;
  app.write(QStringLiteral("m.dat"), "1,3");
  app.write(QStringLiteral("m.dat.bak"), "old");
  for (int n = 2; n <= 999; ++n) app.write(QStringLiteral("m.dat.bak") + QString::number(n), "old");
  app.registerName(QStringLiteral("m"));
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("m.dat.bak999"))) << app.fake.boxes[0].text.toStdString();
  QString error;
  EXPECT_FALSE(recordfile::save(app.dir(), QStringLiteral("m"), slots6(1, 0, 0, 4, 0, 0), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("m.dat.bak999")));
  EXPECT_EQ(app.read(QStringLiteral("m.dat")), QByteArray("1,3"));
  // The same bytes are kept already in one of them: nothing more to keep.
  app.write(QStringLiteral("m.dat.bak500"), "1,3");
  EXPECT_TRUE(recordfile::saveProblem(app.dir(), QStringLiteral("m")).isEmpty());
  EXPECT_TRUE(recordfile::save(app.dir(), QStringLiteral("m"), slots6(1, 0, 0, 4, 0, 0)));
  EXPECT_EQ(app.read(QStringLiteral("m.dat")), QByteArray("1,4,0,0,0,0\r\n"));
}

// "が" typed as one character or as "か" and a combining mark is one
// learner; a record under either form stays reachable, and a record whose
// name a new learner could no longer take is still let in.
TEST(RecordNames, CanonicallyEquivalentNamesAreOneLearner) {
  const QString nfc = QStringLiteral("が");
  const QString nfd = QStringLiteral("か\u3099");
  {
    TestApp app;
    app.write(nfd + QStringLiteral(".dat"), "1,3,0,0,0,0\r\n");
    app.registerName(nfc);
    EXPECT_TRUE(app.fake.modals.empty());  // not greeted as new
    EXPECT_EQ(app.sh->userName(), nfd);
    EXPECT_EQ(app.sh->record().streak[0], 1);
  }
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  EXPECT_EQ(recordfile::learnerName(dir, nfd), nfc);  // a new learner: composed
  writeFile(dir + nfc + QStringLiteral(".dat"), "0,1,0,0,0,0\r\n");
  writeFile(dir + nfd + QStringLiteral(".dat"), "0,2,0,0,0,0\r\n");
  EXPECT_EQ(recordfile::learnerName(dir, nfd), nfd);  // both exist: each as typed
  EXPECT_EQ(recordfile::learnerName(dir, nfc), nfc);
  writeFile(dir + QStringLiteral("a\u200B.dat"), "0,1,0,0,0,0\r\n");
  EXPECT_TRUE(recordfile::registrationProblem(dir, QStringLiteral("a\u200B")).isEmpty());
  EXPECT_FALSE(recordfile::registrationProblem(dir, QStringLiteral("b\u200B")).isEmpty());
}
