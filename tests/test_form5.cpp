#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>

#include "records/form2.h"
#include "records/form5.h"
#include "testapp.h"

TEST(Form5, ShowsTheMessageAndHidesOnItsButtonOrBackground) {
  TestApp app;
  Form5* f = app.sh->form5;
  EXPECT_EQ(f->windowTitle(), QStringLiteral("メッセージ　　(コトバリオンVer.1.3)"));
  EXPECT_TRUE(f->Pic1->hasPicture());  // the picture stored with the window
  EXPECT_EQ(f->Pic1->picture().size(), QSize(115, 169));
  app.sh->MsgText = QStringLiteral("一行目\r\n二行目");
  app.fake.dismissals.push_back([](QWidget* w) { static_cast<Form5*>(w)->Cmd1->click(); });
  EXPECT_TRUE(app.sh->showMessage());
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->Text1->toPlainText(), QStringLiteral("一行目\n二行目"));
  EXPECT_EQ(app.fake.modals.back().text, QStringLiteral("一行目\r\n二行目"));
  app.fake.dismissals.push_back([](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(300, 230)); });
  EXPECT_TRUE(app.sh->showMessage());
  EXPECT_FALSE(f->isVisible());
  // A click on the picture is no click on the background.
  f->show();
  QTest::mouseClick(f->Pic1, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_TRUE(f->isVisible());
  f->hide();
  EXPECT_EQ(app.fake.endCount, 0);
}

TEST(Form5, TheCertificateButtonLiesOutsideTheMessageLayout) {
  TestApp app;
  Form5* f = app.sh->form5;
  EXPECT_FALSE(f->rect().intersects(f->cmd2->geometry()));
  EXPECT_GE(f->cmd2->y(), 240);
}
