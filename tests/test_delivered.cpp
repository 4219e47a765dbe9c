#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QtEndian>

#include "chapter2/homonymsbank.h"
#include "chapter2/readings.h"
#include "layout/widgets.h"
#include "startup/helpviewer.h"

namespace {

const QString kDir = QStringLiteral(KOTOBARION_APP_DIR "/");

struct Wav {
  bool ok = false;
  int format = 0, channels = 0, bits = 0, rate = 0;
  double seconds = 0;
};

// Reads a RIFF WAVE header chunk by chunk.
Wav readWav(const QByteArray& b) {
  Wav w;
  if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") return w;
  qsizetype pos = 12;
  bool fmt = false;
  while (pos + 8 <= b.size()) {
    const QByteArray id = b.mid(pos, 4);
    const auto size = qFromLittleEndian<quint32>(b.constData() + pos + 4);
    const char* body = b.constData() + pos + 8;
    if (id == "fmt " && size >= 16 && pos + 8 + 16 <= b.size()) {
      w.format = qFromLittleEndian<quint16>(body);
      w.channels = qFromLittleEndian<quint16>(body + 2);
      w.rate = static_cast<int>(qFromLittleEndian<quint32>(body + 4));
      w.bits = qFromLittleEndian<quint16>(body + 14);
      fmt = true;
    } else if (id == "data" && fmt && w.rate > 0 && w.channels > 0 && w.bits > 0) {
      w.seconds = static_cast<double>(size) / (w.rate * w.channels * (w.bits / 8));
      w.ok = pos + 8 + static_cast<qsizetype>(size) <= b.size();
      return w;
    }
    pos += 8 + size + (size & 1);
  }
  return w;
}

}  // namespace

TEST(Delivered, EveryPictureLoadsAtItsSize) {
  struct Case {
    const char* name;
    QSize max;  // the picture box it is shown in
    QSize exact;
  };
  for (const Case& c : {Case{"star.gif", {49, 45}, {}}, Case{"starn.gif", {49, 45}, {}},
                        Case{"cut11.jpg", {}, {113, 177}}, Case{"cut22.JPG", {}, {113, 177}}}) {
    QImageReader reader(kDir + QString::fromUtf8(c.name));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << c.name << ": " << reader.errorString().toStdString();
    if (c.exact.isValid()) {
      EXPECT_EQ(image.size(), c.exact) << c.name;
    } else {
      EXPECT_LE(image.width(), c.max.width()) << c.name;
      EXPECT_LE(image.height(), c.max.height()) << c.name;
      EXPECT_GE(image.width(), 40) << c.name;
    }
  }
}

TEST(Delivered, SoundsAreShortSixteenBitPcm) {
  for (const char* name : {"seikai.wav", "miss.wav"}) {
    QFile f(kDir + QString::fromUtf8(name));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    const Wav w = readWav(f.readAll());
    EXPECT_TRUE(w.ok) << name;
    EXPECT_EQ(w.format, 1) << name;  // PCM
    EXPECT_EQ(w.bits, 16) << name;
    EXPECT_GT(w.seconds, 0.1) << name;
    EXPECT_LT(w.seconds, 1.0) << name;
  }
}

TEST(Delivered, QuestionAndHelpFilesLieBesideTheProgram) {
  for (const char* name : {"体.txt", "コトバリオンV.1.3.hlp", "kotobarion", "kotobarion-check", "kotobarion-report"})
    EXPECT_TRUE(QFile::exists(kDir + QString::fromUtf8(name))) << name;
}

TEST(HelpViewer, OpensTheContentsAndReportsAMissingFile) {
  HelpViewer viewer;
  EXPECT_TRUE(viewer.open(kDir + QStringLiteral("コトバリオンV.1.3.hlp"), 15));
  const QString text = viewer.shownText();
  EXPECT_TRUE(text.contains(QStringLiteral("目次")));
  for (const char* part : {"体.txt", "同音.txt", "慣用句２.txt", "免許皆伝状", "連続満点"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;

  // Heard as a named dialog whose text a caret moves through; no table
  // marks or line separators read out; Escape closes it.
  QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(&viewer);
  EXPECT_EQ(heard->role(), QAccessible::Dialog);
  EXPECT_EQ(heard->text(QAccessible::Name), viewer.windowTitle());
  auto* body = viewer.findChild<QTextBrowser*>();
  EXPECT_TRUE(body->textInteractionFlags() & Qt::TextSelectableByKeyboard);
  for (char16_t mark : {u'\u2028', u'\ufdd0', u'\ufdd1'}) EXPECT_FALSE(viewer.spokenText().contains(QChar(mark)));
  EXPECT_TRUE(viewer.spokenText().contains(QStringLiteral("体に関する慣用句")));
  viewer.show();
  QTest::keyClick(body, Qt::Key_Escape);
  EXPECT_FALSE(viewer.isVisible());

  QTemporaryDir tmp;
  EXPECT_FALSE(viewer.open(tmp.path() + QStringLiteral("/コトバリオンV.1.3.hlp"), 15));
  EXPECT_TRUE(viewer.shownText().contains(QStringLiteral("「コトバリオンV.1.3.hlp」が見つからない")));
  // A pipe in its place, or in a picture's, is never waited on.
  ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.path() + QStringLiteral("/pipe.hlp")).constData(), 0644), 0);
  EXPECT_FALSE(viewer.open(tmp.path() + QStringLiteral("/pipe.hlp"), 15));
  EXPECT_FALSE(PictureBox(nullptr).loadPicture(tmp.path() + QStringLiteral("/pipe.hlp")));
}

// Chapter 2's options all sound alike: heard with their descriptions no two
// of a group may, and a description is kana alone (no word of the group,
// nothing of the sentence that would tell the answer).
TEST(Delivered, HomonymsAreToldApartWhenHeard) {
  QFile f(kDir + QStringLiteral("同音.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  std::vector<HomonymsBank::Record> records;
  ASSERT_TRUE(HomonymsBank::read(f.readAll(), &records).empty());
  std::vector<readings::Word> words;
  for (const HomonymsBank::Record& r : records) words.emplace_back(r.kanji.asText(), r.kana.asText());
  for (const HomonymsBank::Record& r : records) {
    QStringList group;
    for (const HomonymsBank::Record& o : records)
      if (HomonymsBank::sameKey(o.key, r.key) && !group.contains(o.kanji.asText())) group << o.kanji.asText();
    const QStringList told = readings::describe(group, r.kana.asText(), words);
    const std::string heard = (group.join(u'/') + u' ' + told.join(u'/')).toStdString();
    for (int i = 0; i < group.size(); ++i) {
      EXPECT_FALSE(told[i].isEmpty()) << heard;
      for (QChar ch : told[i]) EXPECT_TRUE(ch == u'・' || ch == u'、' || (ch >= u'ぁ' && ch <= u'ー')) << heard;
      for (int j = 0; j < i; ++j) EXPECT_NE(readings::sound(told[i]), readings::sound(told[j])) << heard;
    }
  }
}
