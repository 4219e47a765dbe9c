#include "testapp.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include "questions/fieldreader.h"

// The leak check at the end of a sanitized run stops with a crash of its
// own when it follows the dynamic thread-local blocks of the loaded Qt
// plugins (GCC 12 with glibc 2.36), depending on nothing but the layout.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

TestApp::TestApp(bool withDelivered, const std::function<void(FakePlatform&)>& setUp) {
  fake.appDir = tmp.path();
  if (setUp) setUp(fake);
  if (withDelivered) {
    const QDir from(QStringLiteral(KOTOBARION_APP_DIR));
    for (const QString& name : from.entryList(QDir::Files)) {
      if (name.startsWith(QStringLiteral("kotobarion"))) continue;
      QFile::copy(from.filePath(name), dir() + name);
    }
  }
  sh = std::make_unique<Session>(fake);
  sh->start();
}

TestApp::~TestApp() = default;

void TestApp::write(const QString& name, const QByteArray& bytes) const {
  QFile f(dir() + name);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TestApp::read(const QString& name) const {
  QFile f(dir() + name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestApp::exists(const QString& name) const { return QFile::exists(dir() + name); }

void TestApp::registerName(const QString& name, const QByteArray& record) {
  if (!record.isNull()) write(name + QStringLiteral(".dat"), record);
  sh->registrationWindow->nameEdit->setText(name);
  sh->registrationWindow->registerButton->click();
}

void TestApp::choose(int c) { sh->registrationWindow->chapterOptions.choose(c - 1); }

void TestApp::start() { sh->chapterWindow(std::max(sh->quizState().chapter, 1))->startButton->click(); }

void TestApp::answer(bool right) {
  ChapterWindow* w = sh->chapterWindow(std::max(sh->quizState().chapter, 1));
  const int correct = w->rightOption();
  w->options.choose(right ? correct : (correct + 1) % w->answerCount());
}

void TestApp::setFolderWritable(bool writable) {
  if (!writable) write(QStringLiteral("file"), "x");
  fake.appDir = writable ? tmp.path() : dir() + QStringLiteral("file");
  sh->refreshAppDir();
}

void TestApp::writeSmallBanks() const {
  write(QStringLiteral("同音.txt"), smallBank2());
  write(QStringLiteral("慣用句２.txt"), smallBank3());
}

ChapterWindow* TestApp::enter(const QString& name, int c, const QByteArray& record) {
  writeSmallBanks();
  registerName(name, record);
  choose(c);
  return sh->chapterWindow(c);
}

void activate(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  window->activateWindow();
}

QByteArray smallBank() {
  QString text;
  for (int i = 0; i < 6; ++i) text += QStringLiteral("1,%1,\"一の＊%1\",\"意味の一%1。\"\r\n").arg(i + 1);
  for (int i = 0; i < 4; ++i) text += QStringLiteral("2,%1,\"二の＊%1\",\"意味の二%1。\"\r\n").arg(i + 7);
  return encodeCp932(text);
}

QByteArray smallBank2() {
  // Groups g1 (three records with the first), g2, g3 of level 1; g4, g5 of level 2.
  QString text = QStringLiteral("1,\"g1\",\"かな1\",\"漢0\",\"最初の＊。\"\r\n");
  const char* groups[] = {"g1", "g1", "g2", "g2", "g3", "g3", "g4", "g4", "g5", "g5"};
  for (int i = 0; i < 10; ++i) {
    const QString g = QString::fromLatin1(groups[i]);
    const QString kana = QStringLiteral("かな") + g.mid(1);
    text +=
        QStringLiteral("%1,\"%2\",\"%3\",\"漢%4\",\"文%4の＊です。\"\r\n").arg(i < 6 ? 1 : 2).arg(g, kana).arg(i + 1);
  }
  return encodeCp932(text);
}

QByteArray smallBank3() {
  QString text;
  for (int i = 0; i < 10; ++i)
    text += QStringLiteral("%1,\"文%2\",\"句%2\",\"鍵%2\",\"意味%2。\"\r\n").arg(i < 6 ? 1 : 2).arg(i + 1);
  return encodeCp932(text);
}

QByteArray smallBankOf(int c) { return c == 1 ? smallBank() : c == 2 ? smallBank2() : smallBank3(); }

std::unique_ptr<QuestionBank> newBank(int c) {
  if (c == 1) return std::make_unique<BodyIdiomsBank>();
  if (c == 2) return std::make_unique<HomonymsBank>();
  return std::make_unique<IdiomsBank>();
}

QByteArray bank900() {
  QString text;
  for (int i = 0; i < 900; ++i)
    text += QStringLiteral(
                "%1,%2,\"ここに＊の入る慣用句の例文%3\","
                "\"その慣用句の意味をここに書く。二行目にかかる長さのある説明文です%3。\"\r\n")
                .arg(i % 3 == 0 ? 2 : 1)
                .arg(i % 12 + 1)
                .arg(i);
  return encodeCp932(text);
}
