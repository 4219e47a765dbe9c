#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "testapp.h"

TEST(RegistrationWindow, EnterMovesToTheButtonAndASecondEnterRegisters) {
  TestApp app;
  RegistrationWindow* f = app.sh->registrationWindow;
  QApplication::setActiveWindow(f);
  f->nameEdit->setFocus();
  QTest::keyClick(f->nameEdit, Qt::Key_Return);
  EXPECT_TRUE(f->registerButton->hasFocus());
  EXPECT_TRUE(app.fake.modals.empty());
  QTest::keyClick(f->registerButton, Qt::Key_Return);
  // The empty name registers: a new learner whose file would be ".dat".
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(
      app.fake.modals[0].text,
      QStringLiteral("「」さんは初めての挑戦ですね。３回連続満点を取ったら、その章は合格よ。詳しくはヘルプを見てね。"));
  EXPECT_FALSE(app.exists(QStringLiteral(".dat")));
}

TEST(RegistrationWindow, ANewLearnerSeesTheWelcomeThenTheSummary) {
  TestApp app;
  app.registerName(QStringLiteral("たろう"));
  RegistrationWindow* f = app.sh->registrationWindow;
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_TRUE(app.fake.modals[0].text.startsWith(QStringLiteral("「たろう」さんは初めての挑戦ですね。")));
  EXPECT_EQ(f->summaryHeading->text(), QStringLiteral("「たろう」 さんの今までの成績"));
  const QString line = QStringLiteral("　 0回 連続満点は、 0回\n\r");
  EXPECT_EQ(f->summary(),
            QStringLiteral("第１章") + line + QStringLiteral("第２章") + line + QStringLiteral("第３章") + line);
  EXPECT_TRUE(f->chapterFrame->isVisible());
  EXPECT_FALSE(f->registerButton->isVisible());
  EXPECT_FALSE(f->nameEdit->isVisible());
  EXPECT_FALSE(f->quitButton->isVisible());
  EXPECT_FALSE(app.exists(QStringLiteral("たろう.dat")));
}

TEST(RegistrationWindow, SummaryOfARecord) {
  EXPECT_EQ(recordSummary({2, 0, 999, 5, 0, 7, 0}),
            QStringLiteral("第１章　 5回 連続満点は、 2回\n\r第２章　 0回 連続満点は、 0回\n\r第３章　 修了\n\r"));
}

TEST(RegistrationWindow, ALearnerWithTheCertificateIsToldAndTheProgramEnds) {
  TestApp app;
  app.registerName(QStringLiteral("はな"), "999,4,999,9,999,6\r\n");
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("「はな」さんは,すでに免許皆伝の賞状をお渡ししました。"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.fake.callsAfterEnd, 0);
  EXPECT_EQ(app.read(QStringLiteral("はな.dat")), QByteArray("999,4,999,9,999,6\r\n"));
}

TEST(RegistrationWindow, ClosingTheWelcomeWithTheCloseBoxCreatesTheRecord) {
  TestApp app;
  app.fake.dismissals.push_back([](QWidget* w) { w->close(); });
  app.registerName(QStringLiteral("けん"));
  EXPECT_EQ(app.read(QStringLiteral("けん.dat")), QByteArray("0,0,0,0,0,0\r\n"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.fake.boxes.back().caption, QStringLiteral("コトバリオンVer.1.3"));
}

TEST(RegistrationWindow, AShortRecordKeepsWhatItRead) {
  TestApp app;
  app.registerName(QStringLiteral("mi"), "1,3");
  EXPECT_TRUE(app.fake.modals.empty());
  EXPECT_EQ(app.sh->record(), (LearnerRecord{{1, 0, 0}, {3, 0, 0}, 0}));
}

TEST(RegistrationWindow, ACompletedChapterIsRefused) {
  TestApp app;
  app.enter(QStringLiteral("ken"), 1, "999,5,0,0,0,0\r\n");
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("すでに第１章は修了しています。"));
  EXPECT_FALSE(app.sh->bodyIdiomsWindow->isVisible());
  EXPECT_TRUE(app.sh->registrationWindow->isVisible());
  EXPECT_EQ(app.sh->registrationWindow->chapterOptions.selected(), 3);
  EXPECT_EQ(app.read(QStringLiteral("ken.dat")), QByteArray("999,5,0,0,0,0\r\n"));
}

TEST(RegistrationWindow, ChoosingAChapterAnnouncesItAndOpensItsWindow) {
  TestApp app;
  app.writeSmallBanks();
  app.registerName(QStringLiteral("ai"), "0,0,1,4,0,0\r\n");
  app.sh->advanceQuestion();
  app.choose(2);
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("第２章 同音異義語をスタートします。"));
  EXPECT_TRUE(app.sh->homonymsWindow->isVisible());
  EXPECT_FALSE(app.sh->registrationWindow->isVisible());
  // The chapter's quiz set-up starts the question count again.
  EXPECT_EQ(app.sh->quizState(), (QuizState{2, 0, 1}));
  EXPECT_EQ(app.sh->record().workingCount, 4);
  EXPECT_TRUE(app.sh->homonymsWindow->stars[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
  EXPECT_TRUE(app.sh->homonymsWindow->stars[1]->pictureFile().endsWith(QStringLiteral("/starn.gif")));
}

TEST(RegistrationWindow, AHandEditedStreakLightsNoMoreThanThreeStars) {
  TestApp app;
  for (PictureBox* star : app.enter(QStringLiteral("x"), 3, "0,0,0,0,57,2\r\n")->stars)
    EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/star.gif")));
}

TEST(RegistrationWindow, KeyboardSelectionStartsAChapterLikeAClick) {
  TestApp app;
  app.registerName(QStringLiteral("k"), "0,0,0,0,0,0\r\n");
  QApplication::setActiveWindow(app.sh->registrationWindow);
  app.sh->registrationWindow->chapterOptions[3]->setFocus();
  // An arrow only moves among the chapters; Enter (or Space) starts one.
  QTest::keyClick(app.sh->registrationWindow->chapterOptions[3], Qt::Key_Up);
  EXPECT_TRUE(app.fake.modals.empty());
  ASSERT_EQ(QApplication::focusWidget(), app.sh->registrationWindow->chapterOptions[2]);
  QTest::keyClick(app.sh->registrationWindow->chapterOptions[2], Qt::Key_Return);
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("第３章 慣用句（一般）をスタートします。"));
}

TEST(RegistrationWindow, QuittingEndsTheProgram) {
  TestApp app;
  app.sh->registrationWindow->close();
  EXPECT_EQ(app.fake.sounds.back(), app.tmp.path());  // the folder itself: the default sound
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_EQ(app.fake.boxes[0].text, QStringLiteral("コトバリオンを終了します。"));
  EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_TRUE(QDir(app.dir()).entryList({QStringLiteral("*.dat")}, QDir::Files | QDir::Hidden).isEmpty());

  TestApp other;
  other.sh->registrationWindow->quitButton->click();
  EXPECT_EQ(other.fake.endCount, 1);
  EXPECT_TRUE(other.fake.boxes.empty());
}
