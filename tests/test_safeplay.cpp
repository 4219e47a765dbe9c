// Play that costs a learner nothing by accident: input meant for the screen
// before, a score that cannot be seen, a message minimised away, a refused
// question file, a message longer than its box, a focus that cannot be seen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "layout/layout.h"
#include "startup/qtplatform.h"
#include "testapp.h"

namespace {

// WCAG contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
  const auto lum = [](const QColor& c) {
    const auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
  };
  const double la = lum(a), lb = lum(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

// A second Space or a double click 150 ms after the message was dismissed
// lands on the new question: it must not answer it.
TEST(SafePlay, InputMeantForTheScreenBeforeDoesNotAnswer) {
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    ChapterWindow* w = app.enter(QStringLiteral("ゆい"), chapter);
    activate(w);
    app.start();
    app.answer(true);  // the feedback is dismissed and question 2 dealt
    ASSERT_EQ(app.sh->quizState().question, 2);
    app.fake.clockStep = 0;
    app.fake.clockMs += 150;
    const std::size_t shown = app.fake.modals.size(), sounds = app.fake.sounds.size();
    OptionArray& options = w->options;
    QWidget* focused = QApplication::focusWidget();
    ASSERT_TRUE(focused);
    QTest::keyClick(focused, Qt::Key_Space);
    QTest::keyClick(options[0], Qt::Key_Space);
    QTest::mouseClick(options[1], Qt::LeftButton, {}, QPoint(8, options[1]->height() / 2));
    QTest::mouseDClick(options[2], Qt::LeftButton, {}, QPoint(8, options[2]->height() / 2));
    EXPECT_EQ(app.fake.modals.size(), shown) << chapter;
    EXPECT_EQ(app.sh->score(), 1) << chapter;
    // A held-back press leaves the focus on the question and is told by a
    // sound; Tab and the arrows still move.
    EXPECT_EQ(QApplication::focusWidget(), w->questionBox) << chapter;
    EXPECT_GE(app.fake.sounds.size(), sounds + 2) << chapter;
    options[0]->setFocus();
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Left}) {
      QWidget* from = QApplication::focusWidget();
      QTest::keyClick(from, key);
      EXPECT_NE(QApplication::focusWidget(), from) << chapter << " " << key;
    }
    EXPECT_EQ(app.fake.modals.size(), shown) << chapter;
    // Once the learner has seen the question, a click answers.
    app.fake.clockMs += OptionArray::kHoldMs;
    // (on the button's circle: a short caption leaves the middle unclickable)
    QRadioButton* right = options[w->rightOption()];
    QTest::mouseClick(right, Qt::LeftButton, {}, QPoint(8, right->height() / 2), 1000);
    EXPECT_EQ(app.sh->score(), 2) << chapter;
    EXPECT_EQ(app.fake.modals.size(), shown + 1) << chapter;
  }
}

TEST(SafePlay, TheScoreIsReadableAfterAWrongAnswer) {
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    ChapterWindow* w = app.enter(QStringLiteral("ゆい"), chapter);
    app.start();
    QLabel* score = w->scoreLabel;
    double seen = 0;
    app.fake.dismissals.push_back([&](QWidget* m) {
      const QColor behind = score->autoFillBackground() ? score->palette().color(QPalette::Window) : w->backColor();
      seen = contrast(score->palette().color(QPalette::WindowText), behind);
      EXPECT_EQ(w->backColor(), layout::colour::red);
      EXPECT_TRUE(score->isVisible());
      m->hide();
    });
    app.answer(false);
    EXPECT_GE(seen, 3.0) << chapter;
  }
}

// Minimising the message is not dismissing it: the wait goes on, and the
// window offers no minimise button.
TEST(SafePlay, AMinimisedMessageIsStillWaiting) {
  TestApp app;
  MessageWindow* f = app.sh->messageWindow;
  EXPECT_FALSE(f->windowFlags() & Qt::WindowMinimizeButtonHint);
  QtPlatform platform;
  bool returned = false;
  bool waitingWhenRestored = false;
  bool restoredByItself = false;
  QTimer::singleShot(0, f, [&] {
    f->setWindowState(Qt::WindowMinimized);
    QTimer::singleShot(0, f, [&] {
      waitingWhenRestored = !returned;
      restoredByItself = !f->isMinimized();
      f->setWindowState(Qt::WindowNoState);
      f->okButton->click();
    });
  });
  platform.showModal(f);
  returned = true;
  QCoreApplication::processEvents();
  EXPECT_TRUE(waitingWhenRestored);
  EXPECT_TRUE(restoredByItself);
  EXPECT_FALSE(f->isVisible());
}

// A refused question file is reported over the registration window alone;
// the chapter window never appears half set up. Chapter 2's help is its own.
TEST(SafePlay, ARefusedQuestionFileIsReportedBeforeTheChapterAppears) {
  const QString files[] = {QStringLiteral("体.txt"), QStringLiteral("同音.txt"), QStringLiteral("慣用句２.txt")};
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    QFile::remove(app.dir() + files[chapter - 1]);
    app.registerName(QStringLiteral("ゆい"));
    app.choose(chapter);
    ASSERT_EQ(app.fake.boxes.size(), 1u) << chapter;
    EXPECT_EQ(app.fake.boxes[0].shownWindows, QStringList{app.sh->registrationWindow->windowTitle()}) << chapter;
    EXPECT_FALSE(app.sh->chapterWindow(chapter)->isVisible());
    EXPECT_TRUE(app.sh->registrationWindow->isVisible());
  }
  TestApp app;
  app.enter(QStringLiteral("ゆい"), 2);
  EXPECT_FALSE(app.sh->registrationWindow->isVisible());
  app.sh->homonymsWindow->helpAction->trigger();
  EXPECT_EQ(app.fake.helps, std::vector<QString>{app.dir() + QStringLiteral("コトバリオンV.1.3.hlp#15")});
}

// A message longer than its box is scrolled by the keys, with the focus
// staying on the button, and read in full by a screen reader.
TEST(SafePlay, ALongMessageIsReachable) {
  TestApp app;
  MessageWindow* f = app.sh->messageWindow;
  QScrollBar* bar = f->messageText->verticalScrollBar();
  int top = -1, afterDown = -1;
  app.fake.dismissals.push_back([&](QWidget* w) {
    activate(w);
    top = bar->value();
    for (int i = 0; i < 20; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    afterDown = bar->value();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), f->okButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  });
  app.registerName(QStringLiteral("あいうえおかきくけこさしすせ"));
  ASSERT_EQ(app.fake.modals.size(), 1u);
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(afterDown, bar->maximum());
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->accessibleDescription(), app.fake.modals[0].text);
}

// The focused control stands out on every background the program uses: a
// frame of at least 3:1 contrast with what it is drawn on, also when the
// program gave the focus (no Tab pressed yet).
TEST(SafePlay, TheFocusIsPlainToSeeOnEveryBackground) {
  QtPlatform::setUpApplication();
  TestApp app;
  auto* f = static_cast<BodyIdiomsWindow*>(app.enter(QStringLiteral("ゆい"), 1));
  activate(f);
  struct Case {
    QWidget* control;
    QColor back;
  };
  const Case cases[] = {{f->options[0], layout::colour::green},
                        {f->options[0], layout::colour::red},
                        {f->startButton, layout::colour::green},
                        {f->options[3], QApplication::palette().color(QPalette::Window)}};
  for (const Case& c : cases) {
    f->setBackColor(c.back);
    f->startButton->setVisible(c.control == f->startButton);
    f->optionsFrame->show();
    f->sentenceLabel->setFocus();
    const QImage plain = c.control->grab().toImage();
    c.control->setFocus();
    ASSERT_TRUE(c.control->hasFocus());
    const QImage focused = c.control->grab().toImage();
    int standingOut = 0;
    for (int y = 0; y < plain.height(); ++y)
      for (int x = 0; x < plain.width(); ++x)
        if (plain.pixelColor(x, y) != focused.pixelColor(x, y) && contrast(focused.pixelColor(x, y), c.back) >= 3)
          ++standingOut;
    // A frame about two pixels wide all round.
    EXPECT_GE(standingOut, 3 * (plain.width() + plain.height())) << c.back.name().toStdString();
    // Clear of an option's caption: nothing changes next to its strokes.
    auto* radio = qobject_cast<QRadioButton*>(c.control);
    if (!radio) continue;
    QStyleOptionButton opt;
    opt.initFrom(radio);
    opt.text = radio->text();
    const int textLeft = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, radio).left();
    int touching = 0;
    for (int y = 1; y + 1 < plain.height(); ++y)
      for (int x = textLeft + 1; x + 1 < plain.width(); ++x)
        for (int d = 0; d < 9 && plain.pixelColor(x, y) != focused.pixelColor(x, y); ++d)
          if (contrast(plain.pixelColor(x + d % 3 - 1, y + d / 3 - 1), c.back) >= 3) ++touching;
    EXPECT_EQ(touching, 0) << c.back.name().toStdString();
  }
}
