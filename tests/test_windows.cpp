// The windows as a learner meets them: captions, placement on the screen,
// buttons, and what the keyboard alone can do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include "layout/layout.h"
#include "startup/helpviewer.h"
#include "startup/qtplatform.h"
#include "testapp.h"

namespace {

// Presses a key where the keyboard focus is, as the learner's keyboard does.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target ? target : window, key, mods);
}

// Every widget that Tab (or Shift+Tab) reaches in the window, starting from
// where the focus is.
std::vector<QWidget*> tabChain(QWidget* window, bool backwards) {
  std::vector<QWidget*> seen;
  for (int i = 0; i < 30; ++i) {
    press(window, backwards ? Qt::Key_Backtab : Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    if (QWidget* f = QApplication::focusWidget()) seen.push_back(f);
  }
  return seen;
}

bool reaches(const std::vector<QWidget*>& chain, QWidget* w) {
  return std::find(chain.begin(), chain.end(), w) != chain.end();
}
}  // namespace

TEST(Windows, CaptionsAreShownExactlyAsSet) {
  QtPlatform::setUpApplication();
  EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("kotobarion"));
  // Qt adds a display name to every caption only when one has been set; an
  // unset one follows the application name.
  const QString name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName(QStringLiteral("probe"));
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
  QCoreApplication::setApplicationName(name);

  TestApp app;
  EXPECT_EQ(app.sh->registrationWindow->windowTitle(), QStringLiteral("名前登録  (コトバリオンVer.1.3)"));
  EXPECT_EQ(app.sh->messageWindow->windowTitle(), QStringLiteral("メッセージ　　(コトバリオンVer.1.3)"));
  EXPECT_EQ(app.sh->bodyIdiomsWindow->windowTitle(), QStringLiteral("第１章 体に関する慣用句 (コトバリオンVer.1.3)"));
  EXPECT_EQ(app.sh->homonymsWindow->windowTitle(), QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"));
  EXPECT_EQ(app.sh->idiomsWindow->windowTitle(), QStringLiteral("第３章 慣用句（一般）  (コトバリオンVer.1.3)"));
  EXPECT_EQ(HelpViewer().windowTitle(), QStringLiteral("コトバリオン　ヘルプ"));
}

TEST(Windows, ArePlacedByTheirOuterSizeWithFrameAndMenuBar) {
  struct Case {
    QMargins frame;
    QSize screen;
  };
  for (const Case& c : {Case{{4, 30, 4, 4}, {1920, 1080}}, Case{{1, 20, 1, 1}, {1280, 1024}}, Case{{}, {1152, 864}}}) {
    TestApp app(false, [&](FakePlatform& fake) {
      fake.frame = c.frame;
      fake.metrics.width = c.screen.width();
      fake.metrics.height = c.screen.height();
    });
    Session& sh = *app.sh;
    const auto outer = [&](QWidget* w) { return w->size().grownBy(c.frame); };
    // Where the frame of a window lies: its own place less the frame.
    const auto framePos = [&](QWidget* w) { return w->geometry().topLeft() - QPoint(c.frame.left(), c.frame.top()); };
    const auto centred = [&](QSize o) {
      return QPoint((c.screen.width() - o.width()) / 2, (c.screen.height() - o.height()) / 2);
    };
    EXPECT_EQ(sh.registrationWindow->size(), QSize(640, 400));
    EXPECT_EQ(framePos(sh.registrationWindow), centred(outer(sh.registrationWindow))) << c.frame.top();
    // A chapter window is its client area and its menu bar.
    for (ChapterWindow* w :
         {static_cast<ChapterWindow*>(sh.bodyIdiomsWindow), static_cast<ChapterWindow*>(sh.idiomsWindow)}) {
      EXPECT_GT(w->menuBar()->sizeHint().height(), 10);
      EXPECT_EQ(w->size(), QSize(1024, 760 + w->menuBar()->sizeHint().height()));
      EXPECT_EQ(framePos(w), centred(outer(w))) << c.frame.top();
    }
    EXPECT_EQ(framePos(sh.homonymsWindow), QPoint(0, 0));
    const QSize o5 = outer(sh.messageWindow);
    EXPECT_EQ(framePos(sh.messageWindow),
              QPoint((c.screen.width() - o5.width()) / 2, (c.screen.height() - o5.height()) / 3));
    // Shown, the windows stay where the rule put them.
    const QRect at = sh.bodyIdiomsWindow->geometry();
    sh.bodyIdiomsWindow->show();
    EXPECT_EQ(sh.bodyIdiomsWindow->geometry(), at);
    sh.bodyIdiomsWindow->hide();
  }
}

TEST(Windows, TheCertificateIsPlacedByItsOuterSize) {
  TestApp app;
  app.fake.frame = QMargins(3, 25, 3, 3);
  app.sh->messageWindow->showCertificate({QStringLiteral("免許皆伝状")}, 22, 15);
  EXPECT_EQ(app.sh->messageWindow->geometry(), QRect((1920 - 646) / 2 + 3, (1080 - 428) / 3 + 25, 640, 400));
  app.sh->messageWindow->hide();
}

TEST(Windows, TheStartButtonIsAPlainCommandButton) {
  TestApp app;
  QPushButton* start = app.sh->bodyIdiomsWindow->startButton;
  EXPECT_EQ(start->palette().color(QPalette::Button), QApplication::palette().color(QPalette::Button));
  EXPECT_NE(start->palette().color(QPalette::Button), layout::colour::lightYellow);
  EXPECT_FALSE(start->autoFillBackground());
  EXPECT_EQ(start->geometry(), QRect(696, 536, 169, 65));
  EXPECT_EQ(start->font().pointSize(), 15);
  EXPECT_TRUE(start->font().bold());
  // The registration and message windows keep their coloured faces.
  EXPECT_EQ(app.sh->registrationWindow->registerButton->palette().color(QPalette::Button), layout::colour::lightYellow);
  EXPECT_EQ(app.sh->messageWindow->okButton->palette().color(QPalette::Button), layout::colour::yellow);
  // The builder on its own.
  QWidget parent;
  QPushButton* b = ui::commandButton(&parent, QStringLiteral("問題開始"), {1, 2, 30, 40}, layout::designFont(14));
  EXPECT_EQ(b->text(), QStringLiteral("問題開始"));
  EXPECT_EQ(b->geometry(), QRect(1, 2, 30, 40));
  EXPECT_TRUE(b->autoDefault());
  EXPECT_FALSE(b->palette().isBrushSet(QPalette::Active, QPalette::Button));
}

TEST(Windows, TheMessageWindowsKeysOnlyDismissTheMessage) {
  // A message shown in the middle of a quiz; each key sequence ends with the
  // message dismissed and the program going on.
  struct Case {
    const char* name;
    std::vector<Qt::Key> keys;
  };
  const std::vector<Case> cases = {
      {"Tab, Space", {Qt::Key_Tab, Qt::Key_Space}},
      {"Tab, Enter", {Qt::Key_Tab, Qt::Key_Return}},
      {"Tab, Tab, Enter", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}},
      {"Shift+Tab, Space", {Qt::Key_Backtab, Qt::Key_Space}},
      {"Down, Right, Space", {Qt::Key_Down, Qt::Key_Right, Qt::Key_Space}},
      {"Escape", {Qt::Key_Escape}},
      {"Enter", {Qt::Key_Return}},
  };
  for (const Case& c : cases) {
    TestApp app;
    app.registerName(QStringLiteral("ゆい"));
    MessageWindow* f = app.sh->messageWindow;
    std::vector<QWidget*> chain;
    bool hiddenByKeys = false;
    app.fake.dismissals.push_back([&](QWidget* w) {
      activate(w);
      chain = tabChain(w, false);
      const std::vector<QWidget*> back = tabChain(w, true);
      chain.insert(chain.end(), back.begin(), back.end());
      f->okButton->setFocus();
      for (Qt::Key k : c.keys)
        if (w->isVisible()) press(w, k, k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      hiddenByKeys = !w->isVisible();
      w->hide();
    });
    EXPECT_TRUE(app.sh->showMessage(QStringLiteral("正解です。"))) << c.name;
    EXPECT_TRUE(hiddenByKeys) << c.name;
    EXPECT_FALSE(reaches(chain, f->certificateButton)) << c.name;
    EXPECT_FALSE(f->certificateButton->isVisibleTo(f));
    EXPECT_EQ(app.fake.endCount, 0) << c.name;
  }
}

TEST(Windows, OnTheCertificateOnlyItsButtonAndBackgroundAct) {
  for (Qt::Key last : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}) {
    TestApp app;
    MessageWindow* f = app.sh->messageWindow;
    f->showCertificate({QStringLiteral("免許皆伝状")}, 22, 15);
    activate(f);
    EXPECT_FALSE(f->okButton->isVisibleTo(f));
    std::vector<QWidget*> chain = tabChain(f, false);
    const std::vector<QWidget*> back = tabChain(f, true);
    chain.insert(chain.end(), back.begin(), back.end());
    EXPECT_FALSE(reaches(chain, f->okButton));
    EXPECT_TRUE(reaches(chain, f->certificateButton));
    // Whatever has the focus, no key hides the last window left.
    for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Escape}) {
      press(f, k);
      EXPECT_TRUE(f->isVisible());
    }
    f->onOkClicked();  // even a click on the covered button changes nothing
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(app.fake.endCount, 0);
    press(f, last);
    // Space or Enter on "ここを押す" ends the program, as a click does.
    EXPECT_EQ(app.fake.endCount, last == Qt::Key_Escape ? 0 : 1);
    EXPECT_TRUE(f->isVisible() || app.fake.endCount == 1);
    f->hide();
  }
}

TEST(Windows, HeldDownEnterDoesNotDismissTheNextMessage) {
  TestApp app;
  MessageWindow* f = app.sh->messageWindow;
  bool stillShown = false;
  app.fake.dismissals.push_back([&](QWidget* w) {
    activate(w);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(f->okButton, &repeat);
    stillShown = w->isVisible();
    press(w, Qt::Key_Return);  // a fresh press does
  });
  EXPECT_TRUE(app.sh->showMessage(QStringLiteral("満点です。すばらしい！")));
  EXPECT_TRUE(stillShown);
  EXPECT_FALSE(f->isVisible());
  // Held on the chapter-start message, Enter's repeats never press 問題開始.
  app.registerName(QStringLiteral("ゆい"));
  app.fake.dismissals.push_back([&](QWidget* w) {
    activate(w);
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
  });
  app.choose(1);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
  QApplication::sendEvent(app.sh->bodyIdiomsWindow->startButton, &repeat);
  EXPECT_EQ(app.sh->quizState().question, 0);
}

TEST(Windows, TheRegistrationWindowsKeysReachOnlyWhatIsShown) {
  TestApp app;
  RegistrationWindow* f = app.sh->registrationWindow;
  activate(f);
  f->nameEdit->setFocus();
  std::vector<QWidget*> chain = tabChain(f, false);
  EXPECT_TRUE(reaches(chain, f->registerButton));
  for (QWidget* hidden : {static_cast<QWidget*>(f->quitButton), static_cast<QWidget*>(f->chapterOptions[0])})
    EXPECT_FALSE(reaches(chain, hidden));
  press(f, Qt::Key_Escape);
  EXPECT_TRUE(f->isVisible());
  f->nameEdit->setFocus();
  QTest::keyClicks(f->nameEdit, QStringLiteral("ken"));
  press(f, Qt::Key_Return);
  press(f, Qt::Key_Return);
  ASSERT_EQ(app.fake.modals.size(), 1u);  // the welcome
  activate(f);
  chain = tabChain(f, true);
  EXPECT_FALSE(reaches(chain, f->nameEdit));
  EXPECT_FALSE(reaches(chain, f->registerButton));
  EXPECT_FALSE(reaches(chain, f->quitButton));  // shown only after the first quiz
  press(f, Qt::Key_Escape);
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(app.fake.endCount, 0);
}

TEST(Windows, AutoSizeLabelsFitTheirTextOnceShown) {
  QWidget window;
  QLabel* shown = ui::label(&window, QStringLiteral("Label2"), {10, 20, 0, 0}, layout::designFont(14), QColor());
  QLabel* later = ui::label(&window, QStringLiteral("Label3"), {10, 60, 0, 0}, layout::designFont(14), QColor());
  later->hide();
  window.show();
  EXPECT_EQ(shown->size(), shown->sizeHint());
  EXPECT_EQ(shown->pos(), QPoint(10, 20));
  ui::caption(shown, QStringLiteral("「たろう」 さんの今までの成績"));
  EXPECT_EQ(shown->size(), shown->sizeHint());
  ui::caption(later, QStringLiteral("第１章　 0回 連続満点は、 0回\n第２章　 0回 連続満点は、 0回"));
  later->show();
  EXPECT_EQ(later->size(), later->sizeHint());
  EXPECT_GT(later->height(), shown->height());
  // A label of designed size keeps it.
  QLabel* fixed =
      ui::label(&window, QStringLiteral("あなたの名前は"), {96, 8, 153, 25}, layout::designFont(12), QColor());
  ui::caption(fixed, QStringLiteral("とても長い文字列をここに入れてみる"));
  EXPECT_EQ(fixed->size(), QSize(153, 25));
}

TEST(Windows, TabReachesEveryChapterAndSpaceStartsIt) {
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    app.registerName(QStringLiteral("k"));
    RegistrationWindow* f = app.sh->registrationWindow;
    activate(f);
    f->chapterOptions[3]->setFocus();
    const std::vector<QWidget*> chain = tabChain(f, false);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(reaches(chain, f->chapterOptions[i])) << i;
    EXPECT_TRUE(app.fake.modals.size() == 1u);  // Tab alone starts nothing
    f->chapterOptions[chapter - 1]->setFocus();
    press(f, Qt::Key_Space);
    ASSERT_EQ(app.fake.modals.size(), 2u);
    EXPECT_TRUE(app.fake.modals[1].text.endsWith(QStringLiteral("をスタートします。")));
    EXPECT_EQ(app.sh->quizState().chapter, chapter);
    EXPECT_TRUE(app.sh->chapterWindow(chapter)->isVisible());
  }
}

// Every chapter is played with the keyboard alone: the start button is a
// plain one and has the focus, keys that only look around never answer nor
// reach the neutral option, Space answers once. Chapter 1 is walked with
// the arrows, chapters 2 and 3 with Tab.
TEST(Windows, EveryChapterIsPlayedWithTheKeyboardAlone) {
  struct Case {
    int chapter;
    int neutral;                  // the neutral option
    std::vector<Qt::Key> wander;  // keys that only look around
    QByteArray record;            // as saved after the quiz
  };
  const std::vector<Qt::Key> lookAround = {Qt::Key_Right,  Qt::Key_Down,   Qt::Key_Left, Qt::Key_Up,  Qt::Key_Right,
                                           Qt::Key_Escape, Qt::Key_Return, Qt::Key_Tab,  Qt::Key_Down};
  const std::vector<Case> cases = {
      {1,
       12,
       {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down,   Qt::Key_Right,  Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
        Qt::Key_Right, Qt::Key_Right, Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Left,  Qt::Key_Up,    Qt::Key_Right,
        Qt::Key_Down,  Qt::Key_Tab,   Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Up},
       "1,1,0,0,0,0\r\n"},
      {2, 5, lookAround, "0,0,1,1,0,0\r\n"},
      {3, 8, lookAround, "0,0,0,0,1,1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chapter);
    TestApp app;
    ChapterWindow* w = app.enter(QStringLiteral("ゆい"), c.chapter);
    OptionArray& options = w->options;
    EXPECT_FALSE(w->startButton->autoFillBackground());
    EXPECT_EQ(w->startButton->palette().color(QPalette::Button), QApplication::palette().color(QPalette::Button));
    activate(w);
    EXPECT_EQ(QApplication::focusWidget(), w->startButton);
    if (c.chapter == 1) {
      // On the instruction screen the keys reach the answer buttons and the start button only.
      const std::vector<QWidget*> chain = tabChain(w, false);
      EXPECT_TRUE(reaches(chain, w->startButton));
      for (int i = 0; i < 12; ++i) EXPECT_TRUE(reaches(chain, options[i])) << i;
      EXPECT_FALSE(reaches(chain, options[12]));
      w->startButton->setFocus();
    }
    press(w, Qt::Key_Return);
    for (int q = 1; q <= 10; ++q) {
      SCOPED_TRACE(q);
      ASSERT_TRUE(w->isVisible());
      activate(w);
      ASSERT_EQ(app.sh->quizState().question, q);
      const std::size_t shown = app.fake.modals.size();
      for (Qt::Key k : c.wander) {
        press(w, k);
        EXPECT_NE(QApplication::focusWidget(), options[c.neutral]);
      }
      // Even the selected neutral option given the focus by the program moves only the focus.
      options[c.neutral]->setFocus();
      press(w, Qt::Key_Left);
      EXPECT_EQ(app.fake.modals.size(), shown);
      EXPECT_EQ(app.sh->quizState().question, q);
      EXPECT_EQ(options.selected(), c.neutral);
      const int right = w->rightOption();
      if (c.chapter == 1) {
        // Back to 頭, then the arrows to the right word.
        for (int i = 0; i < 8; ++i) press(w, Qt::Key_Left);
        press(w, Qt::Key_Up);
        if (right >= 7) press(w, Qt::Key_Down);
        for (int i = right >= 7 ? 7 : 0; i < right; ++i) press(w, Qt::Key_Right);
      } else {
        options[0]->setFocus();
        for (int i = 0; i < 20 && QApplication::focusWidget() != options[right]; ++i) press(w, Qt::Key_Tab);
      }
      ASSERT_EQ(QApplication::focusWidget(), options[right]);
      press(w, Qt::Key_Space);
      EXPECT_EQ(app.sh->score(), q);
      EXPECT_EQ(app.fake.modals.size(), shown + (q == 10 ? 2 : 1));  // the tenth brings the grade too
    }
    // welcome, start, ten feedbacks, grade: each question answered once
    EXPECT_EQ(app.fake.modals.size(), 13u);
    EXPECT_EQ(app.fake.sounds.size(), 10u);
    EXPECT_EQ(app.read(QStringLiteral("ゆい.dat")), c.record);
    EXPECT_EQ(app.fake.endCount, 0);
  }
}
