#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>

#include "layout/layout.h"
#include "testapp.h"
#include "windows/homonymswindow.h"
#include "windows/messagewindow.h"
#include "windows/registrationwindow.h"

namespace {

// A learner with the given record, registered and inside chapter 2 on its
// instruction screen, with the small test banks beside the program.
void enterChapter2(TestApp& app, const QByteArray& record) {
  app.writeSmallBanks();
  if (!record.isEmpty()) app.write(QStringLiteral("はる.dat"), record);
  app.registerName(QStringLiteral("はる"));
  app.choose(2);
}

void playPerfect(TestApp& app) {
  app.start();
  for (int q = 1; q <= 10; ++q) app.answer(true);
}

int visibleCandidates(const HomonymsWindow* f) {
  int n = 0;
  for (int i = 0; i < 5; ++i) n += f->options[i]->isVisible() ? 1 : 0;
  return n;
}

}  // namespace

TEST(Chapter2Flow, ANewLearnersPerfectQuiz) {
  TestApp app;
  enterChapter2(app, {});
  HomonymsWindow* f = app.sh->homonymsWindow;
  ASSERT_TRUE(f->isVisible());
  EXPECT_EQ(f->windowTitle(), QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"));
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral(" 第２章 同音異義語  "));
  EXPECT_EQ(f->questionBox->printedLines().value(0), QStringLiteral("赤字の部分に適する漢字を下から選べ｡ "));
  EXPECT_EQ(f->questionBox->lineColours(0), (std::vector<QColor>{layout::colour::red, layout::colour::blue}));
  EXPECT_TRUE(f->startButton->isVisible());
  EXPECT_EQ(f->startButton->text(), QStringLiteral("問題開始"));
  EXPECT_EQ(visibleCandidates(f), 0);
  EXPECT_FALSE(f->options[5]->isVisible());
  EXPECT_FALSE(f->scoreLabel->isVisible());

  app.start();
  for (int q = 1; q <= 10; ++q) {
    ASSERT_EQ(app.sh->quizState().question, q);
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第") + QString::number(q).prepend(u' ') + QStringLiteral("問"));
    EXPECT_FALSE(f->startButton->isVisible());
    EXPECT_EQ(f->options.selected(), 5);
    EXPECT_EQ(f->options[5]->text(), QStringLiteral("一つ選ぶ"));
    // The sentence: blue, the kana word in red where "＊" stood, blue.
    const auto parts = HomonymsBank::splitSentence(f->bank.questionSentence);
    const QString kana = app.sh->Mon5[static_cast<std::size_t>(f->bank.currentRecord)].asText();
    EXPECT_EQ(f->questionBox->printedLines(), QStringList{parts[0] + kana + parts[1]});
    EXPECT_EQ(f->questionBox->lineColours(0),
              (std::vector<QColor>{layout::colour::blue, layout::colour::red, layout::colour::blue}));
    EXPECT_EQ(visibleCandidates(f), f->bank.lastChoice + 1);
    EXPECT_EQ(f->options[f->bank.rightOption]->text(), f->bank.rightAnswer.asText());
    EXPECT_EQ(app.sh->Mon1[static_cast<std::size_t>(f->bank.currentRecord)].asNumber(), q <= 6 ? 1 : 2);
    app.answer(true);
    EXPECT_EQ(app.sh->score(), q);
  }
  EXPECT_EQ(f->scoreLabel->text(), QStringLiteral("得点は 100点です"));
  // welcome, start, ten answers, grade
  ASSERT_EQ(app.fake.modals.size(), 13u);
  EXPECT_EQ(app.fake.modals[1].text, QStringLiteral("第２章 同音異義語をスタートします。"));
  for (std::size_t i = 2; i < 12; ++i) {
    EXPECT_TRUE(app.fake.modals[i].text.startsWith(QStringLiteral("正解です。\r\n")));
    EXPECT_TRUE(app.fake.modals[i].picture.endsWith(QStringLiteral("/cut11.jpg")));
    EXPECT_EQ(app.fake.modals[i].back, layout::colour::green);
  }
  EXPECT_EQ(app.fake.modals[12].text, QStringLiteral("満点です。すばらしい！さあ、これから連続満点だ！"));
  EXPECT_EQ(app.read(QStringLiteral("はる.dat")), QByteArray("0,0,1,1,0,0\r\n"));
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(app.sh->registrationWindow->isVisible());
  EXPECT_TRUE(f->stars[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
  EXPECT_TRUE(app.sh->registrationWindow->summary().contains(QStringLiteral("第２章　 1回 連続満点は、 1回")));
}

TEST(Chapter2Flow, AWrongAnswerEndsTheQuizWithOneJudgement) {
  for (int wrongAt : {1, 10}) {
    TestApp app;
    enterChapter2(app, "0,0,2,4,0,0\r\n");
    HomonymsWindow* f = app.sh->homonymsWindow;
    EXPECT_TRUE(f->stars[1]->pictureFile().endsWith(QStringLiteral("/star.gif")));
    app.start();
    for (int q = 1; q < wrongAt; ++q) app.answer(true);
    const QString right = f->bank.rightAnswer.asText();
    app.answer(false);
    const std::size_t before = 1 + static_cast<std::size_t>(wrongAt - 1);
    ASSERT_EQ(app.fake.modals.size(), before + 2) << wrongAt;
    const FakePlatform::Modal& miss = app.fake.modals[before];
    EXPECT_TRUE(
        miss.text.startsWith(QStringLiteral("間違いですよ。正解は、「") + right + QStringLiteral("」です。\r\n")));
    EXPECT_EQ(miss.back, layout::colour::red);
    EXPECT_TRUE(miss.picture.endsWith(QStringLiteral("/cut22.JPG")));
    const FakePlatform::Modal& grade = app.fake.modals[before + 1];
    EXPECT_EQ(grade.back, layout::colour::red);
    const QString lost = QStringLiteral(" 2回連続満点だったのに！くやしいですね・・・");
    EXPECT_EQ(grade.text, wrongAt == 1 ? lost + QStringLiteral(" 1問目で間違えました！   しっかりしてください。")
                                       : lost + QStringLiteral("わー惜しーい。１問間違えただけですよ。"));
    EXPECT_EQ(app.sh->quizState().question, wrongAt);  // no further question was drawn
    EXPECT_EQ(f->scoreLabel->text(),
              QStringLiteral("得点は") + QString::number((wrongAt - 1) * 10).prepend(u' ') + QStringLiteral("点です"));
    EXPECT_EQ(app.read(QStringLiteral("はる.dat")), QByteArray("0,0,0,5,0,0\r\n"));
    for (PictureBox* star : f->stars) EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/starn.gif")));
    EXPECT_EQ(f->backColor(), layout::colour::green);
    EXPECT_EQ(app.sh->messageWindow->backColor(), layout::colour::green);
    EXPECT_TRUE(app.sh->registrationWindow->isVisible());
    // The next visit starts on the instruction screen again.
    app.choose(2);
    EXPECT_TRUE(f->startButton->isVisible());
    EXPECT_EQ(app.sh->quizState().question, 0);
    EXPECT_EQ(app.fake.modals.back().back, layout::colour::green);
  }
}

TEST(Chapter2Flow, OnlyTheFirstClickOnAQuestionCounts) {
  TestApp app;
  enterChapter2(app, {});
  HomonymsWindow* f = app.sh->homonymsWindow;
  app.start();
  // While the feedback of the first answer is on screen, the learner picks
  // another candidate: it must not be judged again.
  app.fake.dismissals.push_back([f](QWidget* w) {
    f->options.choose((f->bank.rightOption + 1) % (f->bank.lastChoice + 1));
    w->hide();
  });
  app.answer(true);
  EXPECT_EQ(app.sh->score(), 1);
  EXPECT_EQ(app.sh->quizState().question, 2);
  EXPECT_EQ(app.fake.modals.size(), 3u);  // welcome, start, one feedback
  EXPECT_EQ(f->options.selected(), 5);
  EXPECT_EQ(f->answersGiven, 0);
}

TEST(Chapter2Flow, QuittingSavesTheSpecifiedSlots) {
  struct Case {
    const char* name;
    int answered;  // -1: instruction screen
    bool menu;
    QByteArray record;
  };
  // Record before: chapter 2 streak 2 after 4 quizzes.
  const std::vector<Case> cases = {
      {"menu before the first question", -1, true, "0,0,0,5,0,0\r\n"},
      {"menu at question 10", 9, true, "0,0,0,5,0,0\r\n"},
      {"close box at question 9", 8, false, "0,0,0,5,0,0\r\n"},
      {"close box at question 10", 9, false, "0,0,2,5,0,0\r\n"},
  };
  for (const Case& c : cases) {
    TestApp app;
    enterChapter2(app, "0,0,2,4,0,0\r\n");
    if (c.answered >= 0) {
      app.start();
      for (int i = 0; i < c.answered; ++i) app.answer(true);
    }
    if (c.menu)
      app.sh->homonymsWindow->quitAction->trigger();
    else
      app.sh->homonymsWindow->close();
    EXPECT_EQ(app.read(QStringLiteral("はる.dat")), c.record) << c.name;
    ASSERT_EQ(app.fake.boxes.size(), 1u) << c.name;
    EXPECT_EQ(app.fake.boxes[0].text, QStringLiteral("コトバリオンを終了します。"));
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_EQ(app.fake.endCount, 1) << c.name;
    EXPECT_EQ(app.fake.callsAfterEnd, 0) << c.name;
  }
}

TEST(Chapter2Flow, ThreePerfectQuizzesCompleteTheChapter) {
  TestApp app;
  enterChapter2(app, {});
  playPerfect(app);
  app.choose(2);
  playPerfect(app);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("満点です。すばらしい！ 2回連続満点です。"));
  app.choose(2);
  playPerfect(app);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("すごーい！「同音異義語」の達人です。第２章 修了!!"));
  EXPECT_EQ(app.read(QStringLiteral("はる.dat")), QByteArray("0,0,999,3,0,0\r\n"));
  EXPECT_TRUE(app.sh->registrationWindow->summary().contains(QStringLiteral("第２章　 修了\n\r")));
  app.choose(2);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("すでに第２章は修了しています。"));
  EXPECT_FALSE(app.sh->homonymsWindow->isVisible());
}

TEST(Chapter2Flow, TheLastOpenChapterDrawsTheCertificate) {
  TestApp app;
  enterChapter2(app, "999,6,2,4,999,9\r\n");
  playPerfect(app);
  ASSERT_EQ(app.fake.modals.size(), 11u);  // start and ten answers; no grade
  EXPECT_TRUE(app.sh->certificateAwarded());
  EXPECT_EQ(app.read(QStringLiteral("はる.dat")), QByteArray("999,6,999,5,999,9\r\n"));
  const QStringList lines = app.sh->messageWindow->certificateBox->printedLines();
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[2], QStringLiteral("はる殿"));
  EXPECT_EQ(lines[5], QStringLiteral("「同音異義語」を 5回で"));
  EXPECT_TRUE(app.sh->messageWindow->isVisible());
  EXPECT_FALSE(app.sh->homonymsWindow->isVisible());
  EXPECT_FALSE(app.sh->registrationWindow->isVisible());
}

TEST(Chapter2Flow, BadQuestionFilesAreRefusedAndTheRecordIsUntouched) {
  const std::vector<std::pair<const char*, QByteArray>> cases = {
      {"missing", {}},
      {"no mark", smallBank2() + encodeCp932(QStringLiteral("1,\"x\",\"か\",\"字\",\"なし\"\r\n"))},
  };
  for (const auto& [name, bytes] : cases) {
    TestApp app;
    app.write(QStringLiteral("はる.dat"), "1,3,0,2,0,0\r\n");
    app.registerName(QStringLiteral("はる"));
    QFile::remove(app.dir() + QStringLiteral("同音.txt"));
    if (!bytes.isEmpty()) app.write(QStringLiteral("同音.txt"), bytes);
    app.choose(2);
    ASSERT_EQ(app.fake.boxes.size(), 1u) << name;
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「同音.txt」"))) << name;
    EXPECT_TRUE(app.sh->registrationWindow->isVisible()) << name;
    EXPECT_FALSE(app.sh->homonymsWindow->isVisible()) << name;
    EXPECT_EQ(app.sh->registrationWindow->chapterOptions.selected(), 3);
    EXPECT_EQ(app.read(QStringLiteral("はる.dat")), QByteArray("1,3,0,2,0,0\r\n")) << name;
    EXPECT_EQ(app.fake.endCount, 0);
  }
}
