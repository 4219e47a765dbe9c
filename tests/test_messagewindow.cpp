#include <gtest/gtest.h>

#include <QTest>

#include "testapp.h"

TEST(MessageWindow, ShowsTheMessageAndHidesOnItsButtonOrBackground) {
  TestApp app;
  MessageWindow* f = app.sh->messageWindow;
  EXPECT_EQ(f->windowTitle(), QStringLiteral("メッセージ　　(コトバリオンVer.1.3)"));
  EXPECT_TRUE(f->picture->hasPicture());  // the picture stored with the window
  EXPECT_EQ(f->picture->picture().size(), QSize(115, 169));
  const QString text = QStringLiteral("一行目\r\n二行目");
  app.fake.dismissals.push_back([](QWidget* w) { static_cast<MessageWindow*>(w)->okButton->click(); });
  EXPECT_TRUE(app.sh->showMessage(text));
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->messageText->toPlainText(), QStringLiteral("一行目\n二行目"));
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("一行目\r\n二行目"));
  app.fake.dismissals.push_back([](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(300, 230)); });
  EXPECT_TRUE(app.sh->showMessage(text));
  EXPECT_FALSE(f->isVisible());
  // A click on the picture is no click on the background.
  f->show();
  QTest::mouseClick(f->picture, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_TRUE(f->isVisible());
  f->hide();
  EXPECT_EQ(app.fake.endCount, 0);
}

TEST(MessageWindow, TheCertificateButtonLiesOutsideTheMessageLayout) {
  TestApp app;
  MessageWindow* f = app.sh->messageWindow;
  EXPECT_FALSE(f->rect().intersects(f->certificateButton->geometry()));
  EXPECT_GE(f->certificateButton->y(), 240);
}
