#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPlainTextEdit>

#include "layout/layout.h"
#include "testapp.h"
#include "windows/bodyidiomswindow.h"
#include "windows/messagewindow.h"
#include "windows/registrationwindow.h"

namespace {

// A learner with the given record, registered and inside chapter 1 with the
// instruction screen on.
void enterChapter1(TestApp& app, const QByteArray& record) {
  if (!record.isEmpty()) app.write(QStringLiteral("ゆい.dat"), record);
  app.registerName(QStringLiteral("ゆい"));
  app.choose(1);
}

void playPerfect(TestApp& app) {
  app.start();
  for (int q = 1; q <= 10; ++q) app.answer(true);
}

}  // namespace

TEST(Chapter1Flow, ANewLearnersFirstPerfectQuiz) {
  TestApp app;
  enterChapter1(app, {});
  BodyIdiomsWindow* f = app.sh->bodyIdiomsWindow;
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第１章 体に関する慣用句"));
  EXPECT_EQ(f->sentenceLabel->text(), QStringLiteral("下の欄に問題文が表示される"));
  EXPECT_EQ(f->startButton->text(), QStringLiteral("問題開始"));
  EXPECT_EQ(f->questionBox->printedLines().size(), 2);
  app.start();
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第 1問"));
  EXPECT_FALSE(f->startButton->isVisible());
  for (int q = 1; q <= 10; ++q) {
    EXPECT_EQ(app.sh->quizState().question, q);
    EXPECT_TRUE(f->sentenceLabel->text().contains(u'＊'));
    app.answer(true);
  }
  // welcome, start, ten answers, grade
  ASSERT_EQ(app.fake.modals.size(), 13u);
  EXPECT_EQ(app.fake.modals[1].text, QStringLiteral("第１章 体に関する慣用句をスタートします。"));
  for (int i = 2; i < 12; ++i) {
    EXPECT_TRUE(app.fake.modals[static_cast<std::size_t>(i)].text.startsWith(QStringLiteral("正解です。\r\n")));
    EXPECT_TRUE(app.fake.modals[static_cast<std::size_t>(i)].picture.endsWith(QStringLiteral("/cut11.jpg")));
    EXPECT_EQ(app.fake.modals[static_cast<std::size_t>(i)].back, layout::colour::green);
  }
  EXPECT_EQ(app.fake.modals[11].text, QStringLiteral("正解です。\r\n"));
  EXPECT_EQ(app.fake.modals[12].text, QStringLiteral("満点です。すばらしい！さあ、これから連続満点だ！"));
  EXPECT_EQ(app.fake.sounds.size(), 10u);
  EXPECT_TRUE(app.fake.sounds[0].endsWith(QStringLiteral("/seikai.wav")));
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("1,1,0,0,0,0\r\n"));
  EXPECT_FALSE(f->isVisible());
  RegistrationWindow* r = app.sh->registrationWindow;
  EXPECT_TRUE(r->isVisible());
  EXPECT_TRUE(r->quitButton->isVisible());
  EXPECT_EQ(r->chapterOptions.selected(), 3);
  EXPECT_TRUE(r->summary().startsWith(QStringLiteral("第１章　 1回 連続満点は、 1回\n\r")));
  EXPECT_TRUE(f->stars[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
  EXPECT_EQ(app.fake.endCount, 0);
}

TEST(Chapter1Flow, AWrongAnswerEndsTheQuizWithOneJudgement) {
  for (int wrongAt : {1, 10}) {
    TestApp app;
    enterChapter1(app, "2,4,0,0,0,0\r\n");
    BodyIdiomsWindow* f = app.sh->bodyIdiomsWindow;
    EXPECT_TRUE(f->stars[1]->pictureFile().endsWith(QStringLiteral("/star.gif")));
    app.start();
    for (int q = 1; q < wrongAt; ++q) app.answer(true);
    const QString right = BodyIdiomsBank::words()[static_cast<std::size_t>(f->bank.rightOption)];
    app.answer(false);
    const std::size_t before = 1 + static_cast<std::size_t>(wrongAt - 1);
    ASSERT_EQ(app.fake.modals.size(), before + 2) << wrongAt;
    const FakePlatform::Modal& miss = app.fake.modals[before];
    EXPECT_TRUE(miss.text.startsWith(QStringLiteral("まちがい！「") + right + QStringLiteral("」です。\r\n")));
    EXPECT_EQ(miss.back, layout::colour::red);
    EXPECT_TRUE(miss.picture.endsWith(QStringLiteral("/cut22.JPG")));
    EXPECT_TRUE(app.fake.sounds.back().endsWith(QStringLiteral("/miss.wav")));
    const FakePlatform::Modal& grade = app.fake.modals[before + 1];
    EXPECT_EQ(grade.back, layout::colour::red);
    const QString lost = QStringLiteral(" 2回連続満点だったのに！くやしいですね・・・");
    EXPECT_EQ(grade.text, wrongAt == 1 ? lost + QStringLiteral(" 1問目で間違えました！   しっかりしてください。")
                                       : lost + QStringLiteral("わー惜しーい。１問間違えただけですよ。"));
    EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("0,5,0,0,0,0\r\n"));
    EXPECT_EQ(app.sh->record().workingCount, 5);
    for (PictureBox* star : f->stars) EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/starn.gif")));
    EXPECT_EQ(f->backColor(), layout::colour::green);
    EXPECT_EQ(app.sh->messageWindow->backColor(), layout::colour::green);
    EXPECT_TRUE(app.sh->registrationWindow->isVisible());
    EXPECT_EQ(f->scoreLabel->text(), QString());
  }
}

TEST(Chapter1Flow, ThreePerfectQuizzesCompleteTheChapter) {
  TestApp app;
  enterChapter1(app, {});
  playPerfect(app);
  app.choose(1);
  playPerfect(app);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("満点です。すばらしい！ 2回連続満点です。"));
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("2,2,0,0,0,0\r\n"));
  app.choose(1);
  playPerfect(app);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("やったね！「体に関する慣用句」の達人です。第１章 修了！！"));
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("999,3,0,0,0,0\r\n"));
  EXPECT_EQ(app.sh->quizState().streak, 0);
  EXPECT_TRUE(app.sh->registrationWindow->summary().startsWith(QStringLiteral("第１章　 修了\n\r")));
}

TEST(Chapter1Flow, TheLastOpenChapterDrawsTheCertificate) {
  TestApp app;
  enterChapter1(app, "2,6,999,4,999,9\r\n");
  playPerfect(app);
  // The tenth answer's feedback is the last message; the grade is not shown.
  ASSERT_EQ(app.fake.modals.size(), 11u);
  EXPECT_TRUE(app.sh->certificateAwarded());
  EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("999,7,999,4,999,9\r\n"));
  MessageWindow* f5 = app.sh->messageWindow;
  EXPECT_TRUE(f5->isVisible());
  EXPECT_TRUE(f5->certificateLayout());
  EXPECT_EQ(f5->size(), QSize(640, 400));
  EXPECT_FALSE(f5->messageText->isVisible());
  EXPECT_TRUE(f5->certificateBox->isVisible());
  EXPECT_TRUE(f5->certificateButton->isVisible());
  EXPECT_TRUE(QRect(QPoint(), f5->size()).contains(f5->certificateButton->geometry()));
  const QStringList lines = f5->certificateBox->printedLines();
  ASSERT_EQ(lines.size(), 10);
  EXPECT_EQ(lines[2], QStringLiteral("ゆい殿"));
  EXPECT_EQ(lines[4], QStringLiteral("あなたは、「体に関する慣用句」を 7回で"));
  EXPECT_EQ(lines[5], QStringLiteral("「同音異義語」を 4回で"));
  EXPECT_EQ(lines[6], QStringLiteral("「慣用句（一般）」を 9回でクリアされました。"));
  EXPECT_EQ(f5->certificateBox->printFont().pointSize(), 22);
  EXPECT_FALSE(app.sh->registrationWindow->isVisible());
  EXPECT_FALSE(app.sh->bodyIdiomsWindow->isVisible());
  f5->certificateButton->click();
  EXPECT_EQ(app.fake.endCount, 1);
}

TEST(Chapter1Flow, OnlyTheFirstClickOnAQuestionCounts) {
  TestApp app;
  enterChapter1(app, {});
  BodyIdiomsWindow* f = app.sh->bodyIdiomsWindow;
  const std::size_t shown = app.fake.modals.size();
  f->options.choose(3);  // on the instruction screen
  EXPECT_EQ(f->options.selected(), 12);
  EXPECT_EQ(app.fake.modals.size(), shown);
  EXPECT_EQ(app.sh->score(), 0);
  app.start();
  app.answer(true);
  // a second click on question 2 after a first one changes nothing
  f->answersGiven = 1;
  f->options.choose(f->bank.rightOption);
  EXPECT_EQ(f->options.selected(), 12);
  EXPECT_EQ(app.sh->score(), 1);
  EXPECT_EQ(app.sh->quizState().question, 2);
  EXPECT_EQ(app.fake.modals.size(), shown + 1);
  EXPECT_EQ(app.fake.sounds.size(), 1u);
}

TEST(Chapter1Flow, QuittingSavesTheSpecifiedSlots) {
  struct Case {
    const char* name;
    int answered;  // -1: instruction screen
    bool menu;
    QByteArray record;
  };
  // Record before: streak 2 after 4 quizzes.
  const std::vector<Case> cases = {
      {"menu on the instruction screen", -1, true, "0,5,0,0,0,0\r\n"},
      {"menu at question 9", 8, true, "0,5,0,0,0,0\r\n"},
      {"menu at question 10", 9, true, "0,5,0,0,0,0\r\n"},
      {"close box on the instruction screen", -1, false, "0,5,0,0,0,0\r\n"},
      {"close box at question 9", 8, false, "0,5,0,0,0,0\r\n"},
      {"close box at question 10", 9, false, "2,5,0,0,0,0\r\n"},
  };
  for (const Case& c : cases) {
    TestApp app;
    enterChapter1(app, "2,4,0,0,0,0\r\n");
    if (c.answered >= 0) {
      app.start();
      for (int i = 0; i < c.answered; ++i) app.answer(true);
    }
    if (c.menu)
      app.sh->bodyIdiomsWindow->quitAction->trigger();
    else
      app.sh->bodyIdiomsWindow->close();
    EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), c.record) << c.name;
    ASSERT_EQ(app.fake.boxes.size(), 1u) << c.name;
    EXPECT_EQ(app.fake.boxes[0].text,
              c.menu ? QStringLiteral("コトバリオンを終了します。") : QStringLiteral("コトバリオンを終了します!!!。"));
    EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
    EXPECT_EQ(app.fake.endCount, 1) << c.name;
  }
}

TEST(Chapter1Flow, HelpOpensTheContentsOfTheHelpFile) {
  TestApp app;
  enterChapter1(app, {});
  app.sh->bodyIdiomsWindow->helpAction->trigger();
  ASSERT_EQ(app.fake.helps.size(), 1u);
  EXPECT_EQ(app.fake.helps[0], app.dir() + QStringLiteral("コトバリオンV.1.3.hlp#15"));
  EXPECT_TRUE(app.sh->bodyIdiomsWindow->isVisible());
}

TEST(Chapter1Flow, BadQuestionFilesAreRefusedAndTheRecordIsUntouched) {
  struct Case {
    const char* name;
    QByteArray file;  // empty: no file at all
    QString says;
  };
  const std::vector<Case> cases = {
      {"missing", {}, QStringLiteral("見つかりません")},
      {"incomplete", smallBank() + encodeCp932(QStringLiteral("1,2\r\n")), QStringLiteral("11行目")},
      {"answer 13", smallBank() + encodeCp932(QStringLiteral("1,13,\"＊\",\"m\"\r\n")), QStringLiteral("11行目")},
      {"no mark", smallBank() + encodeCp932(QStringLiteral("1,1,\"目\",\"m\"\r\n")), QStringLiteral("＊")},
  };
  for (const Case& c : cases) {
    TestApp app;
    QFile::remove(app.dir() + QStringLiteral("体.txt"));
    if (!c.file.isEmpty()) app.write(QStringLiteral("体.txt"), c.file);
    enterChapter1(app, "1,3,0,0,0,0\r\n");
    ASSERT_EQ(app.fake.boxes.size(), 1u) << c.name;
    EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("「体.txt」"))) << c.name;
    EXPECT_TRUE(app.fake.boxes[0].text.contains(c.says)) << c.name << app.fake.boxes[0].text.toStdString();
    EXPECT_TRUE(app.sh->registrationWindow->isVisible()) << c.name;
    EXPECT_TRUE(app.sh->registrationWindow->chapterFrame->isVisible());
    EXPECT_FALSE(app.sh->bodyIdiomsWindow->isVisible());
    EXPECT_EQ(app.sh->registrationWindow->chapterOptions.selected(), 3);
    EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), QByteArray("1,3,0,0,0,0\r\n"));
    EXPECT_EQ(app.fake.endCount, 0);
  }
}

TEST(Chapter1Flow, AnUnwritableRecordIsReportedAndPlayGoesOn) {
  TestApp app;
  app.registerName(QStringLiteral("ab"));
  app.choose(1);
  app.start();
  // The folder became unwritable meanwhile: a path through a plain file.
  app.write(QStringLiteral("file"), "x");
  app.fake.appDir = app.dir() + QStringLiteral("file");
  app.sh->refreshAppDir();
  app.fake.boxes.clear();
  app.answer(false);
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("保存できませんでした")));
  EXPECT_TRUE(app.sh->registrationWindow->isVisible());
  EXPECT_EQ(app.fake.endCount, 0);
}
