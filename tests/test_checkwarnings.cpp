// The checker's warnings of hints and sentences that give an answer away,
// and of records an empty first field leaves unread.
#include <gtest/gtest.h>

#include "chapter1/bodyidiomsbank.h"
#include "chapter2/homonymsbank.h"
#include "chapter3/idiomsbank.h"
#include "layout/fit.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

// The warnings of a small bank of the chapter with the records appended.
std::vector<FileProblem> warningsOf(int chapter, const QString& records) {
  if (chapter == 1) return BodyIdiomsBank::warnings(smallBank() + encodeCp932(records), fit::chapter1Boxes());
  if (chapter == 2) {
    std::vector<HomonymsBank::Record> r;
    EXPECT_TRUE(HomonymsBank::read(smallBank2() + encodeCp932(records), &r).empty());
    return HomonymsBank::warnings(r, fit::chapter2Boxes());
  }
  std::vector<IdiomsBank::Record> r;
  EXPECT_TRUE(IdiomsBank::read(smallBank3() + encodeCp932(records), &r).empty());
  return IdiomsBank::warnings(r, 0, fit::chapter3Boxes());
}

}  // namespace

TEST(CheckWarnings, HintsAndSentencesThatGiveTheAnswerAway) {
  struct Case {
    int chapter;
    QString records;
    QString warning;  // the warning the first appended line gets; empty when none
  };
  const QString moves = QStringLiteral(
      "2,\"うつす\",\"うつす\",\"写す\",\"写真に＊。\"\r\n"
      "2,\"うつす\",\"うつす\",\"移す\",\"机を窓際に＊。\"\r\n");
  const QString seeks = QStringLiteral(
      "2,\"ついきゅう\",\"ついきゅう\",\"追求\",\"利益を＊する。\"\r\n"
      "2,\"ついきゅう\",\"ついきゅう\",\"追究\",\"真理を＊する。\"\r\n");
  const std::vector<Case> cases = {
      {1, QStringLiteral("1,8,\"＊を焼く。\",\"扱いに困る。上手に扱えない。\"\r\n"),
       QStringLiteral("意味（ヒント）に選択肢の言葉「手」")},
      {1, QStringLiteral("1,8,\"＊を焼く。\",\"扱いに困る。\"\r\n"), QString()},
      {2, QStringLiteral("2,\"うつす\",\"うつす\",\"映す\",\"映像を＊。\"\r\n") + moves,
       QStringLiteral("問題文に答え「映す」の漢字「映」")},
      {2, QStringLiteral("2,\"うつす\",\"うつす\",\"映す\",\"鏡に姿を＊。\"\r\n") + moves, QString()},
      // 追 is in every candidate of the group: it tells nothing.
      {2, QStringLiteral("2,\"ついきゅう\",\"ついきゅう\",\"追及\",\"追いつめて責任を＊する。\"\r\n") + seeks,
       QString()},
      // Another question's whole answer printed: a spoiler when both fall in
      // one quiz; the first record is never asked, so its answer is none.
      {2, QStringLiteral("1,\"きく\",\"きく\",\"効く\",\"写真に写す前に目薬が＊。\"\r\n") + moves,
       QStringLiteral("行目の問題の答え「写す」が入っています")},
      {2, QStringLiteral("1,\"きく\",\"きく\",\"効く\",\"漢0の薬が＊。\"\r\n") + moves, QString()},
      {3, QStringLiteral("1,\"知らない人だ\",\"赤の他人\",\"赤の他人\",\"まったくの他人。\"\r\n"),
       QStringLiteral("意味（ヒント）に慣用句の言葉「他人」")},
      {3, QStringLiteral("1,\"値段は\",\"ピンからキリまで\",\"ピン\",\"ピンは最上のもの。\"\r\n"),
       QStringLiteral("意味（ヒント）に慣用句の言葉「ピン」")},
      // Kana the phrase and the hint share are no word of the phrase.
      {3, QStringLiteral("1,\"彼は\",\"手をこまねいている\",\"こまねく\",\"何もしないでいる。\"\r\n"), QString()},
  };
  for (const Case& c : cases) {
    const auto line = smallBankOf(c.chapter).count('\n') + 1;
    QStringList found;
    for (const FileProblem& w : warningsOf(c.chapter, c.records))
      if (w.line == line &&
          (w.message.contains(QStringLiteral("ヒント）に")) || w.message.startsWith(QStringLiteral("問題文に"))))
        found << w.message;
    if (c.warning.isEmpty()) {
      EXPECT_TRUE(found.isEmpty()) << c.records.toStdString() << found.join(u'|').toStdString();
    } else {
      ASSERT_EQ(found.size(), 1) << c.records.toStdString() << found.join(u'|').toStdString();
      EXPECT_TRUE(found[0].contains(c.warning)) << found[0].toStdString();
    }
  }
}

TEST(CheckWarnings, TheLineThatEndedTheBankIsNamedAlsoWithAProblem) {
  // Three group-1 records, a record with an empty first field on line 4,
  // then more: too few records are left, and the checker says why.
  QString text;
  for (int i = 0; i < 3; ++i) text += QStringLiteral("1,\"文%1\",\"句%1\",\"鍵%1\",\"意味。\"\r\n").arg(i);
  text += QStringLiteral(",\"文\",\"句\",\"鍵\",\"意味。\"\r\n");
  for (int i = 0; i < 10; ++i) text += QStringLiteral("1,\"文%1\",\"句%1\",\"鍵%1\",\"意味。\"\r\n").arg(i + 10);
  QTemporaryDir tmp;
  const QString path = tmp.path() + QStringLiteral("/慣用句２.txt");
  writeFile(path, encodeCp932(text));
  const ToolRun run = runTool(KOTOBARION_CHECK, {path});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(holdsAll(run.out, {path + QStringLiteral(":0: グループ1の問題が3問しかありません。"),
                                 QStringLiteral("（4行目の1番目の項目が空なので"),
                                 path + QStringLiteral(":4: 注意：1番目の項目が空なので")}));
}
