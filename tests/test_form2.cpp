#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QTest>

#include "chapter1/form3.h"
#include "chapter2/form1.h"
#include "chapter3/form4.h"
#include "records/form2.h"
#include "records/form5.h"
#include "testapp.h"

TEST(Form2, EnterMovesToTheButtonAndASecondEnterRegisters) {
  TestApp app;
  Form2* f = app.sh->form2;
  QApplication::setActiveWindow(f);
  f->Txt1->setFocus();
  QTest::keyClick(f->Txt1, Qt::Key_Return);
  EXPECT_TRUE(f->Cmd1->hasFocus());
  EXPECT_TRUE(app.fake.modals.empty());
  QTest::keyClick(f->Cmd1, Qt::Key_Return);
  // The empty name registers: a new learner whose file would be ".dat".
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(
      app.fake.modals[0].text,
      QStringLiteral("「」さんは初めての挑戦ですね。３回連続満点を取ったら、その章は合格よ。詳しくはヘルプを見てね。"));
  EXPECT_FALSE(app.exists(QStringLiteral(".dat")));
}

TEST(Form2, ANewLearnerSeesTheWelcomeThenTheSummary) {
  TestApp app;
  app.registerName(QStringLiteral("たろう"));
  Form2* f = app.sh->form2;
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_TRUE(app.fake.modals[0].text.startsWith(QStringLiteral("「たろう」さんは初めての挑戦ですね。")));
  EXPECT_EQ(f->Lbl2->text(), QStringLiteral("「たろう」 さんの今までの成績"));
  const QString line = QStringLiteral("　 0回 連続満点は、 0回\n\r");
  EXPECT_EQ(f->summary(),
            QStringLiteral("第１章") + line + QStringLiteral("第２章") + line + QStringLiteral("第３章") + line);
  EXPECT_TRUE(f->Frm1->isVisible());
  EXPECT_FALSE(f->Cmd1->isVisible());
  EXPECT_FALSE(f->Txt1->isVisible());
  EXPECT_FALSE(f->Cmd2->isVisible());
  EXPECT_FALSE(app.exists(QStringLiteral("たろう.dat")));
}

TEST(Form2, SummaryOfARecord) {
  EXPECT_EQ(recordSummary({2, 0, 999, 5, 0, 7, 0}),
            QStringLiteral("第１章　 5回 連続満点は、 2回\n\r第２章　 0回 連続満点は、 0回\n\r第３章　 修了\n\r"));
}

TEST(Form2, ALearnerWithTheCertificateIsToldAndTheProgramEnds) {
  TestApp app;
  app.write(QStringLiteral("はな.dat"), "999,4,999,9,999,6\r\n");
  app.registerName(QStringLiteral("はな"));
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("「はな」さんは,すでに免許皆伝の賞状をお渡ししました。"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.fake.callsAfterEnd, 0);
  EXPECT_EQ(app.read(QStringLiteral("はな.dat")), QByteArray("999,4,999,9,999,6\r\n"));
}

TEST(Form2, ClosingTheWelcomeWithTheCloseBoxCreatesTheRecord) {
  TestApp app;
  app.fake.dismissals.push_back([](QWidget* w) { w->close(); });
  app.registerName(QStringLiteral("けん"));
  EXPECT_EQ(app.read(QStringLiteral("けん.dat")), QByteArray("0,0,0,0,0,0\r\n"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_EQ(app.fake.boxes.back().caption, QStringLiteral("コトバリオンVer.1.3"));
}

TEST(Form2, AShortRecordKeepsWhatItRead) {
  TestApp app;
  app.write(QStringLiteral("mi.dat"), "1,3");
  app.registerName(QStringLiteral("mi"));
  EXPECT_TRUE(app.fake.modals.empty());
  EXPECT_EQ(app.sh->Kiroku[0], 1);
  EXPECT_EQ(app.sh->Kiroku[3], 3);
  EXPECT_EQ(app.sh->Kiroku[1] + app.sh->Kiroku[2] + app.sh->Kiroku[4] + app.sh->Kiroku[5], 0);
}

TEST(Form2, ACompletedChapterIsRefused) {
  TestApp app;
  app.write(QStringLiteral("ken.dat"), "999,5,0,0,0,0\r\n");
  app.registerName(QStringLiteral("ken"));
  app.choose(1);
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("すでに第１章は修了しています。"));
  EXPECT_FALSE(app.sh->form3->isVisible());
  EXPECT_TRUE(app.sh->form2->isVisible());
  EXPECT_EQ(app.sh->form2->Opt1.selected(), 3);
  EXPECT_EQ(app.read(QStringLiteral("ken.dat")), QByteArray("999,5,0,0,0,0\r\n"));
}

TEST(Form2, ChoosingAChapterAnnouncesItAndOpensItsWindow) {
  TestApp app;
  app.writeSmallBanks();
  app.write(QStringLiteral("ai.dat"), "0,0,1,4,0,0\r\n");
  app.registerName(QStringLiteral("ai"));
  app.sh->Genzai[1] = 7;
  app.choose(2);
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("第２章 同音異義語をスタートします。"));
  EXPECT_TRUE(app.sh->form1->isVisible());
  EXPECT_FALSE(app.sh->form2->isVisible());
  // The chapter's quiz set-up starts the question count again.
  EXPECT_EQ(app.sh->Genzai, (std::array<int, 3>{2, 0, 1}));
  EXPECT_EQ(app.sh->Kiroku[6], 4);
  EXPECT_TRUE(app.sh->form1->Pic2[0]->pictureFile().endsWith(QStringLiteral("/star.gif")));
  EXPECT_TRUE(app.sh->form1->Pic2[1]->pictureFile().endsWith(QStringLiteral("/starn.gif")));
}

TEST(Form2, AHandEditedStreakLightsNoMoreThanThreeStars) {
  TestApp app;
  app.writeSmallBanks();
  app.write(QStringLiteral("x.dat"), "0,0,0,0,57,2\r\n");
  app.registerName(QStringLiteral("x"));
  app.choose(3);
  for (PictureBox* star : app.sh->form4->Pic2) EXPECT_TRUE(star->pictureFile().endsWith(QStringLiteral("/star.gif")));
}

TEST(Form2, KeyboardSelectionStartsAChapterLikeAClick) {
  TestApp app;
  app.write(QStringLiteral("k.dat"), "0,0,0,0,0,0\r\n");
  app.registerName(QStringLiteral("k"));
  QApplication::setActiveWindow(app.sh->form2);
  app.sh->form2->Opt1[3]->setFocus();
  // An arrow only moves among the chapters; Enter (or Space) starts one.
  QTest::keyClick(app.sh->form2->Opt1[3], Qt::Key_Up);
  EXPECT_TRUE(app.fake.modals.empty());
  ASSERT_EQ(QApplication::focusWidget(), app.sh->form2->Opt1[2]);
  QTest::keyClick(app.sh->form2->Opt1[2], Qt::Key_Return);
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_EQ(app.fake.modals[0].text, QStringLiteral("第３章 慣用句（一般）をスタートします。"));
}

TEST(Form2, QuittingEndsTheProgram) {
  TestApp app;
  app.sh->form2->close();
  EXPECT_EQ(app.fake.sounds.back(), app.tmp.path());  // the folder itself: the default sound
  ASSERT_EQ(app.fake.boxes.size(), 1u);
  EXPECT_EQ(app.fake.boxes[0].text, QStringLiteral("コトバリオンを終了します。"));
  EXPECT_EQ(app.fake.boxes[0].caption, QStringLiteral("コトバリオン"));
  EXPECT_EQ(app.fake.endCount, 1);
  EXPECT_TRUE(QDir(app.dir()).entryList({QStringLiteral("*.dat")}, QDir::Files | QDir::Hidden).isEmpty());

  TestApp other;
  other.sh->form2->Cmd2->click();
  EXPECT_EQ(other.fake.endCount, 1);
  EXPECT_TRUE(other.fake.boxes.empty());
}
