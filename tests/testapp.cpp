#include "testapp.h"

#include <QDir>
#include <QFile>

#include "chapter1/fieldreader.h"
#include "chapter1/form3.h"
#include "records/form2.h"

TestApp::TestApp(bool withDelivered) {
  fake.appDir = tmp.path();
  if (withDelivered) {
    const QDir from(QStringLiteral(KOTOBARION_APP_DIR));
    for (const QString& name : from.entryList(QDir::Files)) {
      if (name.startsWith(QStringLiteral("kotobarion"))) continue;
      QFile::copy(from.filePath(name), dir() + name);
    }
  }
  sh = std::make_unique<Shoki>(fake);
  sh->Main();
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

void TestApp::registerName(const QString& name) {
  sh->form2->Txt1->setText(name);
  sh->form2->Cmd1->click();
}

void TestApp::choose(int c) { sh->form2->Opt1.select(c - 1); }

void TestApp::start() { sh->form3->Cmd1->click(); }

void TestApp::answer(bool right) {
  const int correct = sh->form3->bank.SeikaiNo;
  sh->form3->Option1.select(right ? correct : (correct + 1) % 12);
}

QByteArray smallBank() {
  QString text;
  for (int i = 0; i < 6; ++i) text += QStringLiteral("1,%1,\"一の＊%1\",\"意味の一%1。\"\r\n").arg(i + 1);
  for (int i = 0; i < 4; ++i) text += QStringLiteral("2,%1,\"二の＊%1\",\"意味の二%1。\"\r\n").arg(i + 7);
  return encodeCp932(text);
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
