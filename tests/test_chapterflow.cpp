#include <gtest/gtest.h>

#include <QFile>

#include "layout/layout.h"
#include "testapp.h"
#include "testfiles.h"

namespace {

// What a chapter's quiz flow says and shows where the chapters differ.
struct Chapter {
  int number;
  QString learner, questionFile, digit, name;
  int neutral;                                 // the neutral option's index
  QString wrongOpening;                        // the wrong answer's feedback, up to the right answer
  std::function<QString(int points)> score;    // the score line after an answer
  bool clearsScoreAtEnd;                       // chapter 1 shows no score once a quiz has ended
  QString completed, closeText, closeCaption;  // the chapter's completion; the close box's message box
  std::array<int, 3> certificateCounts;        // quizzes per chapter when the certificate is drawn
  struct BadFile {
    const char* name;
    QByteArray bytes;  // empty: no file at all
    QString says;      // a part of the message that names the fault
  };
  std::vector<BadFile> badFiles;
  // The checks of the question on screen, before the q-th answer of a perfect quiz.
  std::function<void(TestApp&, int q)> checkQuestion;
};

QString fullScore(int points) {
  return QStringLiteral("ただいまの得点は、") + QString::number(points).prepend(u' ') + QStringLiteral("点です。");
}

// Slots of the record file with the chapter's streak and count set.
QByteArray record(int chapter, int streak, int count, std::array<int, 6> fields = {}) {
  fields[static_cast<std::size_t>(2 * chapter - 2)] = streak;
  fields[static_cast<std::size_t>(2 * chapter - 1)] = count;
  QByteArray bytes;
  for (int v : fields) bytes += QByteArray::number(v) + ',';
  bytes.chop(1);
  return bytes + "\r\n";
}

void checkBodyIdiom(TestApp& app, int) { EXPECT_TRUE(app.sh->bodyIdiomsWindow->sentenceLabel->text().contains(u'＊')); }

int visibleCandidates(const HomonymsWindow* f) {
  int n = 0;
  for (int i = 0; i < 5; ++i) n += f->options[i]->isVisible() ? 1 : 0;
  return n;
}

void checkHomonym(TestApp& app, int q) {
  HomonymsWindow* f = app.sh->homonymsWindow;
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第") + QString::number(q).prepend(u' ') + QStringLiteral("問"));
  EXPECT_EQ(f->options[5]->text(), QStringLiteral("一つ選ぶ"));
  // The sentence: blue, the kana word in red where "＊" stood, blue.
  const auto parts = HomonymsBank::splitSentence(f->bank.questionSentence);
  const QString kana = f->bank.record(f->bank.currentRecord).kana.asText();
  EXPECT_EQ(f->questionBox->printedLines(), QStringList{parts[0] + kana + parts[1]});
  EXPECT_EQ(f->questionBox->lineColours(0),
            (std::vector<QColor>{layout::colour::blue, layout::colour::red, layout::colour::blue}));
  EXPECT_EQ(visibleCandidates(f), f->bank.lastChoice + 1);
  EXPECT_EQ(f->options[f->bank.rightOption]->text(), f->bank.rightAnswer.asText());
  EXPECT_EQ(f->bank.record(f->bank.currentRecord).level.asNumber(), q <= 6 ? 1 : 2);
}

void checkIdiom(TestApp& app, int q) {
  IdiomsWindow* f = app.sh->idiomsWindow;
  const IdiomsBank::Row& row = f->bank.quizRows[static_cast<std::size_t>(q)];
  EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第 ") + QString::number(q) + QStringLiteral("問 "));
  EXPECT_EQ(f->sentenceLabel->text(), row.sentence.asText() + QStringLiteral("　（　　　）。"));
  EXPECT_TRUE(f->sentenceLabel->isVisible());
  EXPECT_EQ(f->questionBox->printedLines().value(0), row.meaning);
  EXPECT_EQ(f->options[8]->text(), QStringLiteral("適するものを選べ。"));
  for (int i = 0; i <= 8; ++i) EXPECT_TRUE(f->options[i]->isVisible());
  EXPECT_EQ(f->options[static_cast<int>(f->bank.rightOption)]->text(), row.phrase.asText());
  EXPECT_EQ(row.group.asNumber(), q <= 6 ? 1 : 2);
}

const std::vector<Chapter>& chapters() {
  static const std::vector<Chapter> table = {
      {1,
       QStringLiteral("ゆい"),
       QStringLiteral("体.txt"),
       QStringLiteral("１"),
       QStringLiteral("体に関する慣用句"),
       12,
       QStringLiteral("まちがい！「"),
       fullScore,
       true,
       QStringLiteral("やったね！「体に関する慣用句」の達人です。第１章 修了！！"),
       QStringLiteral("コトバリオンを終了します!!!。"),
       QStringLiteral("コトバリオン"),
       {7, 4, 9},
       {{"missing", {}, QStringLiteral("見つかりません")},
        {"incomplete", smallBank() + encodeCp932(QStringLiteral("1,2\r\n")), QStringLiteral("11行目")},
        {"answer 13", smallBank() + encodeCp932(QStringLiteral("1,13,\"＊\",\"m\"\r\n")), QStringLiteral("11行目")},
        {"no mark", smallBank() + encodeCp932(QStringLiteral("1,1,\"目\",\"m\"\r\n")), QStringLiteral("＊")}},
       checkBodyIdiom},
      {2,
       QStringLiteral("はる"),
       QStringLiteral("同音.txt"),
       QStringLiteral("２"),
       QStringLiteral("同音異義語"),
       5,
       QStringLiteral("間違いですよ。正解は、「"),
       [](int points) {
         return QStringLiteral("得点は") + QString::number(points).prepend(u' ') + QStringLiteral("点です");
       },
       false,
       QStringLiteral("すごーい！「同音異義語」の達人です。第２章 修了!!"),
       QStringLiteral("コトバリオンを終了します。"),
       QStringLiteral("コトバリオン"),
       {6, 5, 9},
       {{"missing", {}, {}},
        {"no mark", smallBank2() + encodeCp932(QStringLiteral("1,\"x\",\"か\",\"字\",\"なし\"\r\n")), {}}},
       checkHomonym},
      {3,
       QStringLiteral("そら"),
       QStringLiteral("慣用句２.txt"),
       QStringLiteral("３"),
       QStringLiteral("慣用句（一般）"),
       8,
       QStringLiteral("残念！まちがい！\r\n「"),
       fullScore,
       false,
       QStringLiteral("すごいねー！「慣用句」の達人です。第３章 修了"),
       QStringLiteral("慣用句(一般)を終了します。"),
       QStringLiteral("慣用句(一般)"),
       {6, 4, 9},
       {{"missing", {}, {}}, {"ends inside a record", smallBank3() + encodeCp932(QStringLiteral("1,\"s\"\r\n")), {}}},
       checkIdiom},
  };
  return table;
}

class ChapterFlow : public ::testing::TestWithParam<int> {
 protected:
  const Chapter& c = chapters()[static_cast<std::size_t>(GetParam() - 1)];
  QString file() const { return c.learner + QStringLiteral(".dat"); }
  // The learner with the given record inside the chapter, on its instruction screen.
  ChapterWindow* enter(TestApp& app, const QByteArray& record = {}) const {
    return app.enter(c.learner, c.number, record);
  }
};

// Plays perfect quizzes, times over, picking chapter c first unless it is 0.
void playPerfect(TestApp& app, int c = 0, int times = 1) {
  for (int i = 0; i < times; ++i) {
    if (c > 0) app.choose(c);
    app.start();
    for (int q = 1; q <= 10; ++q) app.answer(true);
  }
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Chapters, ChapterFlow, ::testing::Values(1, 2, 3));

TEST_P(ChapterFlow, ANewLearnersPerfectQuiz) {
  TestApp app;
  ChapterWindow* f = enter(app);
  ASSERT_TRUE(f->isVisible());
  EXPECT_TRUE(f->startButton->isVisible());
  EXPECT_EQ(f->startButton->text(), QStringLiteral("問題開始"));
  if (c.number == 1) {
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第１章 体に関する慣用句"));
    EXPECT_EQ(app.sh->bodyIdiomsWindow->sentenceLabel->text(), QStringLiteral("下の欄に問題文が表示される"));
    EXPECT_EQ(f->questionBox->printedLines().size(), 2);
  } else if (c.number == 2) {
    EXPECT_EQ(f->windowTitle(), QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"));
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral(" 第２章 同音異義語  "));
    EXPECT_EQ(f->questionBox->printedLines().value(0), QStringLiteral("赤字の部分に適する漢字を下から選べ｡ "));
    EXPECT_EQ(f->questionBox->lineColours(0), (std::vector<QColor>{layout::colour::red, layout::colour::blue}));
    EXPECT_EQ(visibleCandidates(app.sh->homonymsWindow), 0);
    EXPECT_FALSE(f->options[5]->isVisible());
    EXPECT_FALSE(f->scoreLabel->isVisible());
  } else {
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第１問 "));
    EXPECT_EQ(app.sh->idiomsWindow->sentenceLabel->text(), QStringLiteral("下の欄に問題文が表示される"));
    EXPECT_EQ(f->questionBox->printedLines(), (QStringList{QStringLiteral("表示される意味を参考に問題文中の(  )に"),
                                                           QStringLiteral("あてはまるものを下の選択欄から選べ。")}));
    EXPECT_EQ(f->questionBox->printFont().pointSize(), 24);
    EXPECT_FALSE(f->optionsFrame->isVisible());  // hidden by the layout until the first question
    for (int i = 0; i <= 8; ++i) EXPECT_FALSE(f->options[i]->isVisible());
  }
  app.start();
  if (c.number == 1) {
    EXPECT_EQ(f->titleLabel->text(), QStringLiteral("第 1問"));
  }
  if (c.number == 3) {
    EXPECT_EQ(f->questionBox->printFont().pointSize(), 18);
  }
  for (int q = 1; q <= 10; ++q) {
    ASSERT_EQ(app.sh->quizState().question, q);
    EXPECT_FALSE(f->startButton->isVisible());
    EXPECT_EQ(f->options.selected(), c.neutral);
    c.checkQuestion(app, q);
    app.answer(true);
    EXPECT_EQ(app.sh->score(), q);
  }
  EXPECT_EQ(f->scoreLabel->text(), c.clearsScoreAtEnd ? QString() : c.score(100));
  // welcome, start, ten answers, grade
  ASSERT_EQ(app.fake.modals.size(), 13u);
  EXPECT_EQ(app.fake.modals[1].text,
            QStringLiteral("第") + c.digit + QStringLiteral("章 ") + c.name + QStringLiteral("をスタートします。"));
  for (std::size_t i = 2; i < 12; ++i) {
    EXPECT_TRUE(app.fake.modals[i].text.startsWith(QStringLiteral("正解です。\r\n")));
    EXPECT_TRUE(app.fake.modals[i].picture.endsWith(QStringLiteral("/cut11.jpg")));
    EXPECT_EQ(app.fake.modals[i].back, layout::colour::green);
  }
  EXPECT_EQ(app.fake.modals[11].text, QStringLiteral("正解です。\r\n"));
  EXPECT_EQ(app.fake.modals[12].text, QStringLiteral("満点です。すばらしい！さあ、これから連続満点だ！"));
  EXPECT_EQ(app.fake.sounds.size(), 10u);
  EXPECT_TRUE(app.fake.sounds[0].endsWith(QStringLiteral("/seikai.wav")));
  EXPECT_EQ(app.read(file()), record(c.number, 1, 1));
  EXPECT_FALSE(f->isVisible());
  RegistrationWindow* r = app.sh->registrationWindow;
  EXPECT_TRUE(r->isVisible());
  EXPECT_TRUE(r->quitButton->isVisible());
  EXPECT_EQ(r->chapterOptions.selected(), 3);
  // chapter 1's line is the first
  const QString line = QStringLiteral("第") + c.digit + QStringLiteral("章　 1回 連続満点は、 1回\n\r");
  EXPECT_TRUE(c.number == 1 ? r->summary().startsWith(line) : r->summary().contains(line));
  EXPECT_TRUE(f->stars[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
  EXPECT_EQ(app.fake.endCount, 0);
  if (c.number == 3) {
    // After a perfect quiz the sentence stays hidden and the frame shown
    // until the next question.
    app.choose(3);
    EXPECT_FALSE(app.sh->idiomsWindow->sentenceLabel->isVisible());
    EXPECT_TRUE(f->optionsFrame->isVisible());
    EXPECT_EQ(f->questionBox->printFont().pointSize(), 18);
  }
}

TEST_P(ChapterFlow, AWrongAnswerEndsTheQuizWithOneJudgement) {
  for (int wrongAt : {1, 10}) {
    TestApp app;
    ChapterWindow* f = enter(app, record(c.number, 2, 4));
    EXPECT_TRUE(f->stars[1]->pictureFile().endsWith(QStringLiteral("/star.gif")));
    app.start();
    for (int q = 1; q < wrongAt; ++q) app.answer(true);
    const QString right = f->options[f->rightOption()]->text();
    app.fake.dismissals.push_back([f](QWidget* w) {
      // red while the wrong-answer message is shown
      EXPECT_EQ(f->backColor(), layout::colour::red);
      w->hide();
    });
    app.answer(false);
    const std::size_t before = 1 + static_cast<std::size_t>(wrongAt - 1);  // start, right answers
    ASSERT_EQ(app.fake.modals.size(), before + 2) << wrongAt;
    const FakePlatform::Modal& miss = app.fake.modals[before];
    EXPECT_TRUE(miss.text.startsWith(c.wrongOpening + right + QStringLiteral("」です。\r\n")));
    EXPECT_EQ(miss.back, layout::colour::red);
    EXPECT_TRUE(miss.picture.endsWith(QStringLiteral("/cut22.JPG")));
    EXPECT_TRUE(app.fake.sounds.back().endsWith(QStringLiteral("/miss.wav")));
    const FakePlatform::Modal& grade = app.fake.modals[before + 1];
    EXPECT_EQ(grade.back, layout::colour::red);
    const QString lost = QStringLiteral(" 2回連続満点だったのに！くやしいですね・・・");
    EXPECT_EQ(grade.text, wrongAt == 1 ? lost + QStringLiteral(" 1問目で間違えました！   しっかりしてください。")
                                       : lost + QStringLiteral("わー惜しーい。１問間違えただけですよ。"));
    EXPECT_EQ(app.sh->quizState().question, wrongAt);  // no further question was drawn
    EXPECT_EQ(f->scoreLabel->text(), c.clearsScoreAtEnd ? QString() : c.score((wrongAt - 1) * 10));
    EXPECT_EQ(app.read(file()), record(c.number, 0, 5));
    EXPECT_EQ(app.sh->record().workingCount, 5);
    for (PictureBox* star : f->stars) EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/starn.gif")));
    EXPECT_EQ(f->backColor(), layout::colour::green);
    EXPECT_EQ(app.sh->messageWindow->backColor(), layout::colour::green);
    EXPECT_TRUE(app.sh->registrationWindow->isVisible());
    // The next visit starts on the instruction screen again.
    app.choose(c.number);
    EXPECT_TRUE(f->startButton->isVisible());
    EXPECT_EQ(app.sh->quizState().question, 0);
    EXPECT_EQ(app.fake.modals.back().back, layout::colour::green);
    if (c.number == 3) {
      // After a wrong answer the sentence and the frame stay visible.
      EXPECT_TRUE(app.sh->idiomsWindow->sentenceLabel->isVisible());
      EXPECT_TRUE(f->optionsFrame->isVisible());
    }
  }
}

TEST_P(ChapterFlow, ThreePerfectQuizzesCompleteTheChapter) {
  TestApp app;
  enter(app);
  playPerfect(app);
  playPerfect(app, c.number);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("満点です。すばらしい！ 2回連続満点です。"));
  EXPECT_EQ(app.read(file()), record(c.number, 2, 2));
  playPerfect(app, c.number);
  EXPECT_EQ(app.fake.modals.back().text, c.completed);
  EXPECT_EQ(app.read(file()), record(c.number, 999, 3));
  EXPECT_EQ(app.sh->quizState().streak, 0);
  const QString completedLine = QStringLiteral("第") + c.digit + QStringLiteral("章　 修了\n\r");
  const QString summary = app.sh->registrationWindow->summary();
  EXPECT_TRUE(c.number == 1 ? summary.startsWith(completedLine) : summary.contains(completedLine));
  app.choose(c.number);
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("すでに第") + c.digit + QStringLiteral("章は修了しています。"));
  EXPECT_FALSE(app.sh->chapterWindow(c.number)->isVisible());
}

TEST_P(ChapterFlow, TheLastOpenChapterDrawsTheCertificate) {
  std::array<int, 6> others{};
  for (std::size_t i = 0; i < 3; ++i) {
    others[2 * i] = 999;
    others[2 * i + 1] = c.certificateCounts[i];
  }
  const int count = c.certificateCounts[static_cast<std::size_t>(c.number - 1)];
  TestApp app;
  ChapterWindow* f = enter(app, record(c.number, 2, count - 1, others));
  playPerfect(app);
  // The tenth answer's feedback is the last message; the grade is not shown.
  ASSERT_EQ(app.fake.modals.size(), 11u);
  EXPECT_TRUE(app.sh->certificateAwarded());
  EXPECT_EQ(app.read(file()), record(c.number, 999, count, others));
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
  const auto times = [&](std::size_t i) {
    return QString::number(c.certificateCounts[i]).prepend(u' ') + QStringLiteral("回で");
  };
  EXPECT_EQ(lines[2], c.learner + QStringLiteral("殿"));
  EXPECT_EQ(lines[4], QStringLiteral("あなたは、「体に関する慣用句」を") + times(0));
  EXPECT_EQ(lines[5], QStringLiteral("「同音異義語」を") + times(1));
  EXPECT_EQ(lines[6], QStringLiteral("「慣用句（一般）」を") + times(2) + QStringLiteral("クリアされました。"));
  EXPECT_EQ(f5->certificateBox->printFont().pointSize(), 22);
  EXPECT_FALSE(app.sh->registrationWindow->isVisible());
  EXPECT_FALSE(f->isVisible());
  f5->certificateButton->click();
  EXPECT_EQ(app.fake.endCount, 1);
}

TEST_P(ChapterFlow, OnlyTheFirstClickOnAQuestionCounts) {
  TestApp app;
  ChapterWindow* f = enter(app);
  const std::size_t shown = app.fake.modals.size();
  if (c.number != 2) {     // chapter 2 hides its options until the first question
    f->options.choose(3);  // on the instruction screen
    EXPECT_EQ(f->options.selected(), c.neutral);
    EXPECT_EQ(app.fake.modals.size(), shown);
    EXPECT_EQ(app.sh->score(), 0);
  }
  app.start();
  // While the feedback of the first answer is on screen, the learner picks
  // another option: it must not be judged again.
  app.fake.dismissals.push_back([f](QWidget* w) {
    f->options.choose((f->rightOption() + 1) % f->answerCount());
    w->hide();
  });
  app.answer(true);
  EXPECT_EQ(f->options.selected(), c.neutral);
  EXPECT_TRUE(f->questionOpen);
  // a second click on question 2 after a first one changes nothing
  f->questionOpen = false;
  f->options.choose(f->rightOption());
  EXPECT_EQ(f->options.selected(), c.neutral);
  EXPECT_EQ(app.sh->score(), 1);
  EXPECT_EQ(app.sh->quizState().question, 2);
  EXPECT_EQ(app.fake.modals.size(), shown + 1);  // one feedback
  EXPECT_EQ(app.fake.sounds.size(), 1u);
}

TEST_P(ChapterFlow, QuittingSavesTheSpecifiedSlots) {
  struct Case {
    const char* name;
    int answered;  // -1: instruction screen
    bool menu;
    int streak;  // saved with the count 5
  };
  // Record before: streak 2 after 4 quizzes.
  const std::vector<Case> cases = {
      {"menu on the instruction screen", -1, true, 0},
      {"menu at question 9", 8, true, 0},
      {"menu at question 10", 9, true, 0},
      {"close box on the instruction screen", -1, false, 0},
      {"close box at question 9", 8, false, 0},
      {"close box at question 10", 9, false, 2},
  };
  for (const Case& k : cases) {
    TestApp app;
    ChapterWindow* f = enter(app, record(c.number, 2, 4));
    if (k.answered >= 0) {
      app.start();
      for (int i = 0; i < k.answered; ++i) app.answer(true);
    }
    if (k.menu)
      f->quitAction->trigger();
    else
      f->close();
    EXPECT_EQ(app.read(file()), record(c.number, k.streak, 5)) << k.name;
    ASSERT_EQ(app.fake.boxes.size(), 1u) << k.name;
    EXPECT_EQ(app.fake.boxes[0].text, k.menu ? QStringLiteral("コトバリオンを終了します。") : c.closeText) << k.name;
    EXPECT_EQ(app.fake.boxes[0].caption, k.menu ? QStringLiteral("コトバリオン") : c.closeCaption) << k.name;
    EXPECT_EQ(app.fake.endCount, 1) << k.name;
    EXPECT_EQ(app.fake.callsAfterEnd, 0) << k.name;
  }
}

TEST_P(ChapterFlow, HelpOpensTheContentsOfTheHelpFile) {
  TestApp app;
  ChapterWindow* f = enter(app);
  f->helpAction->trigger();
  ASSERT_EQ(app.fake.helps.size(), 1u);
  EXPECT_EQ(app.fake.helps[0], app.dir() + QStringLiteral("コトバリオンV.1.3.hlp#15"));
  EXPECT_TRUE(f->isVisible());
}

TEST_P(ChapterFlow, BadQuestionFilesAreRefusedAndTheRecordIsUntouched) {
  for (const Chapter::BadFile& bad : c.badFiles) {
    TestApp app;
    app.registerName(c.learner, "1,3,0,2,0,0\r\n");
    QFile::remove(app.dir() + c.questionFile);
    if (!bad.bytes.isEmpty()) app.write(c.questionFile, bad.bytes);
    app.choose(c.number);
    ASSERT_EQ(app.fake.boxes.size(), 1u) << bad.name;
    EXPECT_TRUE(holdsAll(app.fake.boxes[0].text, {u'「' + c.questionFile + u'」', bad.says})) << bad.name;
    EXPECT_TRUE(app.sh->registrationWindow->isVisible()) << bad.name;
    EXPECT_TRUE(app.sh->registrationWindow->chapterFrame->isVisible());
    EXPECT_FALSE(app.sh->chapterWindow(c.number)->isVisible()) << bad.name;
    EXPECT_EQ(app.sh->registrationWindow->chapterOptions.selected(), 3);
    EXPECT_EQ(app.read(file()), QByteArray("1,3,0,2,0,0\r\n")) << bad.name;
    EXPECT_EQ(app.fake.endCount, 0);
  }
}

TEST_P(ChapterFlow, AnUnwritableRecordIsReportedAndPlayGoesOn) {
  TestApp app;
  app.enter(QStringLiteral("ab"), c.number);
  app.start();
  app.setFolderWritable(false);
  app.fake.boxes.clear();
  app.answer(false);
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_TRUE(app.fake.boxes[0].text.contains(QStringLiteral("保存できませんでした")));
  EXPECT_TRUE(app.sh->registrationWindow->isVisible());
  EXPECT_EQ(app.fake.endCount, 0);
}

TEST(Chapter3Flow, ALongMeaningBreaksAfterTwentySixCharacters) {
  TestApp app;
  const QString m27(27, u'あ');
  const QString m28 = QString(26, u'い') + QStringLiteral("うえ");
  QString text;
  for (int i = 0; i < 10; ++i)
    text += QStringLiteral("%1,\"文%2\",\"句%2\",\"鍵%2\",\"%3\"\r\n").arg(i < 6 ? 1 : 2).arg(i).arg(i % 2 ? m28 : m27);
  app.registerName(QStringLiteral("そら"), "0,0,0,0,0,0\r\n");
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

// One learner through all three chapters, chapter 3 first, then 1, then 2,
// with one slip in chapter 1, to the certificate.
TEST(WholeCourse, ThreeChaptersInAnyOrderEarnTheCertificate) {
  TestApp app;
  app.writeSmallBanks();
  app.registerName(QStringLiteral("みお"));
  playPerfect(app, 3, 3);
  app.choose(1);
  app.start();
  app.answer(true);
  app.answer(false);
  playPerfect(app, 1, 3);
  EXPECT_EQ(app.read(QStringLiteral("みお.dat")), QByteArray("999,4,0,0,999,3\r\n"));
  playPerfect(app, 2, 3);
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
  again.registerName(QStringLiteral("みお"), app.read(QStringLiteral("みお.dat")));
  ASSERT_EQ(again.fake.modals.size(), 1u);
  EXPECT_EQ(again.fake.modals[0].text, QStringLiteral("「みお」さんは,すでに免許皆伝の賞状をお渡ししました。"));
  EXPECT_EQ(again.fake.endCount, 1);
}
