// Where the windows go on screens that are small or have panels, and a
// window system that sizes and frames a window only after it is shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMoveEvent>

#include "testapp.h"
#include "windows/placer.h"

TEST(Placement, TitleBarsAndControlsStayInsideSmallScreens) {
  struct Case {
    QSize screen;
    QRect available;
  };
  const QMargins frame(4, 30, 4, 4);
  // A laptop with a 32-pixel panel at the top, a 1280 x 720 one, a 1024 x
  // 600 one, and 1920 x 1080 at 200 % scaling.
  for (const Case& c : {Case{{1366, 768}, {0, 32, 1366, 736}}, Case{{1280, 720}, {0, 0, 1280, 720}},
                        Case{{1024, 600}, {0, 0, 1024, 600}}, Case{{960, 540}, {0, 0, 960, 540}}}) {
    TestApp app(false, [&](FakePlatform& fake) {
      fake.frame = frame;
      fake.metrics = {15.0, 15.0, c.screen.width(), c.screen.height(), c.available};
    });
    Session& sh = *app.sh;
    sh.messageWindow->showCertificate({QStringLiteral("免許皆伝状")}, 22, 15);
    sh.messageWindow->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{sh.homonymsWindow, sh.registrationWindow, sh.bodyIdiomsWindow,
                                                      sh.idiomsWindow, sh.messageWindow}) {
      const QRect outer = w->geometry().marginsAdded(frame);
      const QRect titleBar(outer.topLeft(), QSize(outer.width(), frame.top()));
      EXPECT_TRUE(c.available.contains(titleBar)) << w->windowTitle().toStdString() << " " << c.screen.width();
      // A chapter window lies wholly on the screen; where its client area
      // does not fit, it scrolls, so every control can be reached.
      if (auto* ch = qobject_cast<ChapterWindow*>(w)) {
        EXPECT_TRUE(c.available.contains(outer)) << w->windowTitle().toStdString() << " " << c.screen.width();
        const bool cut = w->height() < ch->client()->height() + ch->menuBar()->sizeHint().height();
        EXPECT_EQ(cut, ch->centralWidget() != ch->client()) << c.screen.width();
      }
    }
    // Windows that fit keep the rule: centred on the whole screen.
    EXPECT_EQ(sh.registrationWindow->geometry().topLeft(),
              QPoint((c.screen.width() - 648) / 2 + 4, (c.screen.height() - 434) / 2 + 30));
  }
}

// The window system gives the window its size and its frame only after it
// has been shown; the place must still come out right, and stay.
TEST(Placement, AWindowSizedAndFramedLateEndsWhereTheRulePutsIt) {
  FakePlatform fake;
  fake.metrics.width = 1280;
  fake.metrics.height = 1024;
  QWidget w;
  const QSize known(1024, 785);
  layout::WindowPlacer::place(&w, known, layout::Position::Centred, fake);
  w.resize(0, 0);  // no size of its own yet
  w.show();
  QMoveEvent moved(w.pos(), w.pos());
  // Before framing it the window system reports a frame of 1 x 1 pixels.
  fake.frame = QMargins(0, 0, -1023, -784);
  QApplication::sendEvent(&w, &moved);
  fake.frame = QMargins(1, 20, 1, 1);  // the real frame arrives later
  QApplication::sendEvent(&w, &moved);
  QEvent activated(QEvent::WindowActivate);
  QApplication::sendEvent(&w, &activated);
  EXPECT_EQ(w.geometry(), QRect((1280 - 1026) / 2 + 1, (1024 - 806) / 2 + 20, 1024, 785));
  // Once framed the place is final: the learner may move it.
  w.move(10, 10);
  QApplication::sendEvent(&w, &moved);
  EXPECT_EQ(w.pos(), QPoint(10, 10));
  // Shown again with its title bar above the screen, it is put back.
  w.hide();
  w.move(10, -200);
  w.show();
  EXPECT_EQ(w.geometry(), QRect((1280 - 1026) / 2 + 1, (1024 - 806) / 2 + 20, 1024, 785));
}
