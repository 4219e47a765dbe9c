#include <gtest/gtest.h>

#include <QGroupBox>

#include "chapter1/form3.h"
#include "chapter2/form1.h"
#include "chapter3/form4.h"
#include "layout/layout.h"
#include "records/form2.h"
#include "records/form5.h"
#include "testapp.h"

TEST(Layout, TwipsPerPixelRoundHalfToEven) {
  EXPECT_EQ(layout::roundTwipsPerPixel(15.0), 15);
  EXPECT_EQ(layout::roundTwipsPerPixel(12.0), 12);
  EXPECT_EQ(layout::roundTwipsPerPixel(14.5), 14);
  EXPECT_EQ(layout::roundTwipsPerPixel(15.5), 16);
  EXPECT_EQ(layout::roundTwipsPerPixel(1440.0 / 96), 15);
  EXPECT_EQ(layout::roundTwipsPerPixel(1440.0 / 120), 12);
}

TEST(Layout, FontSizesKeepTheirPixelSize) {
  const int ks[] = {12, 14, 15, 16, 18, 20, 22, 26, 28};
  const int at12[] = {9, 11, 12, 12, 14, 16, 17, 20, 22};
  for (std::size_t i = 0; i < std::size(ks); ++i) {
    EXPECT_EQ(layout::fontSize(15, ks[i]), ks[i]);
    EXPECT_EQ(layout::fontSize(12, ks[i]), at12[i]) << ks[i];
  }
  EXPECT_EQ(layout::fontSize(14, 18), 16);
  EXPECT_EQ(layout::fontSize(16, 18), 19);
}

TEST(Layout, EveryWindowGetsItsClientSizeAndScaledFonts) {
  struct Case {
    double tpp;
    int lbl1;  // chapter windows' heading, k = 18
    int opt;   // chapter 1 answer buttons, k = 22
    int txt;   // name box, k = 12
  };
  for (const Case c : {Case{15, 18, 22, 12}, Case{12, 14, 17, 9}, Case{14.5, 16, 20, 11}, Case{15.5, 19, 23, 12}}) {
    FakePlatform fake;
    QTemporaryDir tmp;
    fake.appDir = tmp.path();
    fake.metrics.twipsPerPixelX = fake.metrics.twipsPerPixelY = c.tpp;
    Shoki sh(fake);
    sh.Main();
    EXPECT_EQ(sh.form3->client()->size(), QSize(1024, 760)) << c.tpp;
    EXPECT_EQ(sh.form4->client()->size(), QSize(1024, 760));
    EXPECT_EQ(sh.form1->client()->size(), QSize(1024, 700));
    EXPECT_EQ(sh.form2->size(), QSize(640, 400));
    EXPECT_EQ(sh.form5->size(), QSize(320, 240));
    EXPECT_EQ(sh.form3->Lbl1->font().pointSize(), c.lbl1) << c.tpp;
    EXPECT_EQ(sh.form4->Lbl1->font().pointSize(), c.lbl1);
    EXPECT_EQ(sh.form1->Lbl1->font().pointSize(), c.lbl1);
    EXPECT_EQ(sh.form3->Option1[0]->font().pointSize(), c.opt);
    EXPECT_EQ(sh.form2->Txt1->font().pointSize(), c.txt);
    // Designed fonts that no layout routine sets stay as designed.
    EXPECT_DOUBLE_EQ(sh.form3->Lbl4->font().pointSizeF(), 15.75);
    EXPECT_TRUE(sh.form3->Lbl4->font().italic());
    EXPECT_DOUBLE_EQ(sh.form2->Cmd1->font().pointSizeF(), 14.25);
  }
}

TEST(Layout, WindowsArePlacedByTheirRule) {
  TestApp app;  // 1920 x 1080 screen, windows without a frame
  EXPECT_EQ(app.sh->form1->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(app.sh->form2->geometry().topLeft(), QPoint((1920 - 640) / 2, (1080 - 400) / 2));
  EXPECT_EQ(app.sh->form5->geometry().topLeft(), QPoint((1920 - 320) / 2, (1080 - 240) / 3));
  EXPECT_FALSE(app.sh->form3->Frm1->isVisibleTo(app.sh->form3));
  EXPECT_FALSE(app.sh->form5->Pic2->isVisibleTo(app.sh->form5));
  EXPECT_EQ(app.sh->form1->Cmd1->text(), QStringLiteral("問題開始"));
  EXPECT_EQ(app.sh->form1->Pic1->printedLines(), QStringList{QStringLiteral("下の選択欄から正解をクリックしなさい。")});
}

TEST(Layout, ControlsKeepTheirDesignedGeometry) {
  TestApp app;
  EXPECT_EQ(app.sh->form3->Pic1->geometry(), QRect(168, 208, 697, 89));
  EXPECT_EQ(app.sh->form3->Option1[11]->geometry(), QRect(408, 80, 73, 27));
  EXPECT_EQ(app.sh->form3->Option1[12]->geometry(), QRect(504, 80, 137, 27));
  EXPECT_EQ(app.sh->form3->Pic2[2]->geometry(), QRect(800, 48, 49, 49));
  EXPECT_EQ(app.sh->form4->Pic2[1]->geometry(), QRect(744, 48, 49, 45));
  EXPECT_EQ(app.sh->form4->Opt1[8]->text(), QStringLiteral("適するものを選べ。"));
  EXPECT_EQ(app.sh->form1->Opt1[5]->geometry(), QRect(376, 72, 177, 37));
  EXPECT_EQ(app.sh->form2->Frm1->geometry(), QRect(344, 152, 233, 177));
  EXPECT_EQ(app.sh->form5->cmd2->geometry(), QRect(240, 328, 153, 57));
}
