#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>

#include "layout/layout.h"
#include "testapp.h"
#include "windows/bodyidiomswindow.h"
#include "windows/homonymswindow.h"
#include "windows/idiomswindow.h"
#include "windows/messagewindow.h"
#include "windows/registrationwindow.h"

namespace {

void enterChapter3(TestApp& app, const QByteArray& record) {
  app.writeSmallBanks();
  if (!record.isEmpty()) app.write(QStringLiteral("そら.dat"), record);
  app.registerName(QStringLiteral("そら"));
  app.choose(3);
}

void playPerfect(TestApp& app) {
  app.start();
  for (int q = 1; q <= 10; ++q) app.answer(true);
}

QString score(int points) {
  return QStringLiteral("ただいまの得点は、 ") + QString::number(points) + QStringLiteral("点です。");
}

}  // namespace

TEST(Chapter3Flow, ANewLearnersPerfectQuiz) {
  TestApp app;
  enterChapter3(app, {});
  IdiomsWindow* f = app.sh->idiomsWindow;
  ASSERT_TRUE(f->isVisible());
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第１問 "));
  EXPECT_EQ(f->sentenceLabel->text(), QStringLiteral("下の欄に問題文が表示される"));
  EXPECT_EQ(f->questionBox->printedLines(), (QStringList{QStringLiteral("表示される意味を参考に問題文中の(  )に"),
                                                         QStringLiteral("あてはまるものを下の選択欄から選べ。")}));
  EXPECT_EQ(f->questionBox->printFont().pointSize(), 24);
  EXPECT_TRUE(f->startButton->isVisible());
  EXPECT_FALSE(f->optionsFrame->isVisible());  // hidden by the layout until the first question
  for (int i = 0; i <= 8; ++i) EXPECT_FALSE(f->options[i]->isVisible());
  // Clicks before the first question are ignored.
  f->options.choose(2);
  EXPECT_EQ(app.fake.modals.size(), 2u);  // welcome, start
  EXPECT_EQ(app.sh->score(), 0);

  app.start();
  EXPECT_EQ(f->questionBox->printFont().pointSize(), 18);
  for (int q = 1; q <= 10; ++q) {
    ASSERT_EQ(app.sh->quizState().question, q);
    const IdiomsBank::Row& row = f->bank.quizRows[static_cast<std::size_t>(q)];
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第 ") + QString::number(q) + QStringLiteral("問 "));
    EXPECT_EQ(f->sentenceLabel->text(), row.sentence.asText() + QStringLiteral("　（　　　）。"));
    EXPECT_TRUE(f->sentenceLabel->isVisible());
    EXPECT_EQ(f->questionBox->printedLines().value(0), row.meaning);
    EXPECT_EQ(f->options.selected(), 8);
    EXPECT_EQ(f->options[8]->text(), QStringLiteral("適するものを選べ。"));
    for (int i = 0; i <= 8; ++i) EXPECT_TRUE(f->options[i]->isVisible());
    EXPECT_EQ(f->options[static_cast<int>(f->bank.rightOption)]->text(), row.phrase.asText());
    EXPECT_EQ(row.group.asNumber(), q <= 6 ? 1 : 2);
    app.answer(true);
  }
  EXPECT_EQ(f->scoreLabel->text(), score(100));
  ASSERT_EQ(app.fake.modals.size(), 13u);  // welcome, start, ten answers, grade
  EXPECT_EQ(app.fake.modals[12].text, QStringLiteral("満点です。すばらしい！さあ、これから連続満点だ！"));
  EXPECT_EQ(app.read(QStringLiteral("そら.dat")), QByteArray("0,0,0,0,1,1\r\n"));
  EXPECT_FALSE(f->isVisible());
  // After a perfect quiz the sentence stays hidden and the frame shown
  // until the next question.
  app.choose(3);
  EXPECT_FALSE(f->sentenceLabel->isVisible());
  EXPECT_TRUE(f->optionsFrame->isVisible());
  EXPECT_EQ(f->questionBox->printFont().pointSize(), 18);
  EXPECT_TRUE(f->stars[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
}

TEST(Chapter3Flow, AWrongAnswerEndsTheQuizWithOneJudgement) {
  for (int wrongAt : {1, 10}) {
    TestApp app;
    enterChapter3(app, "0,0,0,0,1,2\r\n");
    IdiomsWindow* f = app.sh->idiomsWindow;
    app.start();
    for (int q = 1; q < wrongAt; ++q) app.answer(true);
    const QString right = f->bank.quizRows[static_cast<std::size_t>(wrongAt)].phrase.asText();
    app.fake.dismissals.push_back([f](QWidget* w) {
      // red while the wrong-answer message is shown
      EXPECT_EQ(f->backColor(), layout::colour::red);
      w->hide();
    });
    app.answer(false);
    const std::size_t before = 1 + static_cast<std::size_t>(wrongAt - 1);  // start, right answers
    ASSERT_EQ(app.fake.modals.size(), before + 2) << wrongAt;
    EXPECT_TRUE(app.fake.modals[before].text.startsWith(QStringLiteral("残念！まちがい！\r\n「") + right +
                                                        QStringLiteral("」です。\r\n")));
    EXPECT_EQ(app.fake.modals[before].back, layout::colour::red);
    EXPECT_EQ(app.fake.modals[before + 1].back, layout::colour::red);
    EXPECT_TRUE(app.fake.modals[before + 1].text.startsWith(QStringLiteral(" 1回連続満点だったのに")));
    EXPECT_EQ(f->scoreLabel->text(), score((wrongAt - 1) * 10));
    EXPECT_EQ(app.sh->quizState().question, wrongAt);
    EXPECT_EQ(app.read(QStringLiteral("そら.dat")), QByteArray("0,0,0,0,0,3\r\n"));
    EXPECT_EQ(f->backColor(), layout::colour::green);
    EXPECT_EQ(app.sh->messageWindow->backColor(), layout::colour::green);
    for (PictureBox* star : f->stars) EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/starn.gif")));
    // After a wrong answer the sentence and the frame stay visible.
    app.choose(3);
    EXPECT_TRUE(f->sentenceLabel->isVisible());
    EXPECT_TRUE(f->optionsFrame->isVisible());
    EXPECT_EQ(app.fake.modals.back().back, layout::colour::green);
  }
}

TEST(Chapter3Flow, OnlyTheFirstClickOnAQuestionCounts) {
  TestApp app;
  enterChapter3(app, {});
  IdiomsWindow* f = app.sh->idiomsWindow;
  app.start();
  app.fake.dismissals.push_back([f](QWidget* w) {
    f->options.choose((static_cast<int>(f->bank.rightOption) + 1) % 8);
    w->hide();
  });
  app.answer(true);
  EXPECT_EQ(app.sh->score(), 1);
  EXPECT_EQ(app.sh->quizState().question, 2);
  EXPECT_EQ(app.fake.modals.size(), 3u);  // welcome, start, one feedback
  EXPECT_EQ(f->options.selected(), 8);
}

TEST(Chapter3Flow, QuittingSavesTheSpecifiedSlots) {
  struct Case {
    const char* name;
    int answered;  // -1: before the first question
    bool menu;
    QByteArray record;
    QString text, caption;
  };
  const QString menuText = QStringLiteral("コトバリオンを終了します。");
  const QString closeText = QStringLiteral("慣用句(一般)を終了します。");
  const std::vector<Case> cases = {
      {"menu before the first question", -1, true, "0,0,0,0,0,5\r\n", menuText, QStringLiteral("コトバリオン")},
      {"menu at question 10", 9, true, "0,0,0,0,0,5\r\n", menuText, QStringLiteral("コトバリオン")},
      {"close box at question 9", 8, false, "0,0,0,0,0,5\r\n", closeText, QStringLiteral("慣用句(一般)")},
      {"close box at question 10", 9, false, "0,0,0,0,2,5\r\n", closeText, QStringLiteral("慣用句(一般)")},
  };
  for (const Case& c : cases) {
    TestApp app;
    enterChapter3(app, "0,0,0,0,2,4\r\n");
    if (c.answered >= 0) {
      app.start();
      for (int i = 0; i < c.answered; ++i) app.answer(true);
    }
    if (c.menu)
      app.sh->idiomsWindow->quitAction->trigger();
    else
      app.sh->idiomsWindow->close();
    EXPECT_EQ(app.read(QStringLiteral("そら.dat")), c.record) << c.name;
    ASSERT_EQ(app.fake.boxes.size(), 1u) << c.name;
    EXPECT_EQ(app.fake.boxes[0].text, c.text) << c.name;
    EXPECT_EQ(app.fake.boxes[0].caption, c.caption) << c.name;
    EXPECT_EQ(app.fake.endCount, 1) << c.name;
  }
}

TEST(Chapter3Flow, ALongMeaningBreaksAfterTwentySixCharacters) {
  TestApp app;
  const QString m27(27, u'あ');
  const QString m28 = QString(26, u'い') + QStringLiteral("うえ");
  QString text;
  for (int i = 0; i < 10; ++i)
    text += QStringLiteral("%1,\"文%2\",\"句%2\",\"鍵%2\",\"%3\"\r\n").arg(i < 6 ? 1 : 2).arg(i).arg(i % 2 ? m28 : m27);
  app.write(QStringLiteral("そら.dat"), "0,0,0,0,0,0\r\n");
  app.registerName(QStringLiteral("そら"));
  app.write(QStringLiteral("慣用句２.txt"), encodeCp932(text));
  app.choose(3);
  app.start();
  IdiomsWindow* f = app.sh->idiomsWindow;
  for (int q = 1; q <= 4; ++q) {
    const QString meaning = f->bank.quizRows[static_cast<std::size_t>(q)].meaning;
    if (meaning == m27)
      EXPECT_EQ(f->questionBox->printedLines(), QStringList{m27});
    else
      EXPECT_EQ(f->questionBox->printedLines(),
                (QStringList{QString(26, u'い') + QStringLiteral("\r\t"), QStringLiteral("うえ")}));
    app.answer(true);
  }
}

TEST(Chapter3Flow, BadQuestionFilesAreRefusedAndTheRecordIsUntouched) {
  const std::vector<std::pair<const char*, QByteArray>> cases = {
      {"missing", {}},
      {"ends inside a record", smallBank3() + encodeCp932(QStringLiteral("1,\"s\"\r\n"))},
  };
  for (const auto& [name, bytes] : cases) {
    TestApp app;
    app.write(QStringLiteral("そら.dat"), "1,3,0,2,0,0\r\n");
    app.registerName(QStringLiteral("そら"));
    QFile::remove(app.dir() + QStringLiteral("慣用句２.txt"));
    if (!bytes.isEmpty()) app.write(QStringLiteral("慣用句２.txt"), bytes);
    app.choose(3);
    ASSERT_EQ(app.fake.boxes.size(), 1u) << name;
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「慣用句２.txt」"))) << name;
    EXPECT_TRUE(app.sh->registrationWindow->isVisible()) << name;
    EXPECT_FALSE(app.sh->idiomsWindow->isVisible()) << name;
    EXPECT_EQ(app.read(QStringLiteral("そら.dat")), QByteArray("1,3,0,2,0,0\r\n")) << name;
  }
}

// One learner through all three chapters, chapter 3 first, then 1, then 2,
// with one slip in chapter 1, to the certificate.
TEST(WholeCourse, ThreeChaptersInAnyOrderEarnTheCertificate) {
  TestApp app;
  app.writeSmallBanks();
  app.registerName(QStringLiteral("みお"));
  for (int i = 0; i < 3; ++i) {
    app.choose(3);
    playPerfect(app);
  }
  app.choose(1);
  app.start();
  app.answer(true);
  app.answer(false);
  for (int i = 0; i < 3; ++i) {
    app.choose(1);
    playPerfect(app);
  }
  EXPECT_EQ(app.read(QStringLiteral("みお.dat")), QByteArray("999,4,0,0,999,3\r\n"));
  for (int i = 0; i < 3; ++i) {
    app.choose(2);
    playPerfect(app);
  }
  EXPECT_EQ(app.read(QStringLiteral("みお.dat")), QByteArray("999,4,999,3,999,3\r\n"));
  EXPECT_TRUE(app.sh->certificateAwarded());
  const std::size_t shown = app.fake.modals.size();
  MessageWindow* f5 = app.sh->messageWindow;
  EXPECT_TRUE(f5->isVisible());
  EXPECT_TRUE(f5->certificateLayout());
  EXPECT_EQ(
      f5->certificateBox->printedLines(),
      (QStringList{QStringLiteral("　　　免許皆伝状"), QString(), QStringLiteral("みお殿"), QString(),
                   QStringLiteral("あなたは、「体に関する慣用句」を 4回で"), QStringLiteral("「同音異義語」を 3回で"),
                   QStringLiteral("「慣用句（一般）」を 3回でクリアされました。"),
                   QStringLiteral("　　よって、貴殿に『免許皆伝状』を授与いたします"), QString(),
                   QStringLiteral("　　　　　　　全日本コトバリオン委員会")}));
  const std::vector<QWidget*> others = {app.sh->registrationWindow, app.sh->homonymsWindow, app.sh->bodyIdiomsWindow,
                                        app.sh->idiomsWindow};
  for (QWidget* w : others) EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(app.fake.modals.size(), shown);
  EXPECT_TRUE(app.fake.boxes.empty());
  f5->certificateButton->click();
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.fake.callsAfterEnd, 0);
  // Registering again is refused with the already-awarded message.
  TestApp again;
  again.write(QStringLiteral("みお.dat"), app.read(QStringLiteral("みお.dat")));
  again.registerName(QStringLiteral("みお"));
  ASSERT_EQ(again.fake.modals.size(), 1u);
  EXPECT_EQ(again.fake.modals[0].text, QStringLiteral("「みお」さんは,すでに免許皆伝の賞状をお渡ししました。"));
  EXPECT_EQ(again.fake.endCount, 1);
}
