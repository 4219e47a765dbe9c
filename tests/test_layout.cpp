#include <gtest/gtest.h>

#include "layout/layout.h"
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
    TestApp app(false, [&](FakePlatform& fake) { fake.metrics.twipsPerPixelX = fake.metrics.twipsPerPixelY = c.tpp; });
    Session& sh = *app.sh;
    EXPECT_EQ(sh.bodyIdiomsWindow->client()->size(), QSize(1024, 760)) << c.tpp;
    EXPECT_EQ(sh.idiomsWindow->client()->size(), QSize(1024, 760));
    EXPECT_EQ(sh.homonymsWindow->client()->size(), QSize(1024, 700));
    EXPECT_EQ(sh.registrationWindow->size(), QSize(640, 400));
    EXPECT_EQ(sh.messageWindow->size(), QSize(320, 240));
    EXPECT_EQ(sh.bodyIdiomsWindow->titleLabel->font().pointSize(), c.lbl1) << c.tpp;
    EXPECT_EQ(sh.idiomsWindow->titleLabel->font().pointSize(), c.lbl1);
    EXPECT_EQ(sh.homonymsWindow->titleLabel->font().pointSize(), c.lbl1);
    EXPECT_EQ(sh.bodyIdiomsWindow->options[0]->font().pointSize(), c.opt);
    EXPECT_EQ(sh.registrationWindow->nameEdit->font().pointSize(), c.txt);
    // Designed fonts that no layout routine sets stay as designed.
    EXPECT_DOUBLE_EQ(sh.bodyIdiomsWindow->streakHeading->font().pointSizeF(), 15.75);
    EXPECT_TRUE(sh.bodyIdiomsWindow->streakHeading->font().italic());
    EXPECT_DOUBLE_EQ(sh.registrationWindow->registerButton->font().pointSizeF(), 14.25);
  }
}

TEST(Layout, WindowsArePlacedByTheirRule) {
  TestApp app;  // 1920 x 1080 screen, windows without a frame
  EXPECT_EQ(app.sh->homonymsWindow->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(app.sh->registrationWindow->geometry().topLeft(), QPoint((1920 - 640) / 2, (1080 - 400) / 2));
  EXPECT_EQ(app.sh->messageWindow->geometry().topLeft(), QPoint((1920 - 320) / 2, (1080 - 240) / 3));
  EXPECT_FALSE(app.sh->bodyIdiomsWindow->optionsFrame->isVisibleTo(app.sh->bodyIdiomsWindow));
  EXPECT_FALSE(app.sh->messageWindow->certificateBox->isVisibleTo(app.sh->messageWindow));
  EXPECT_EQ(app.sh->homonymsWindow->startButton->text(), QStringLiteral("問題開始"));
  EXPECT_EQ(app.sh->homonymsWindow->questionBox->printedLines(),
            QStringList{QStringLiteral("下の選択欄から正解をクリックしなさい。")});
}

TEST(Layout, ControlsKeepTheirDesignedGeometry) {
  TestApp app;
  EXPECT_EQ(app.sh->bodyIdiomsWindow->questionBox->geometry(), QRect(168, 208, 697, 89));
  EXPECT_EQ(app.sh->bodyIdiomsWindow->options[11]->geometry(), QRect(408, 80, 73, 27));
  EXPECT_EQ(app.sh->bodyIdiomsWindow->options[12]->geometry(), QRect(504, 80, 137, 27));
  EXPECT_EQ(app.sh->bodyIdiomsWindow->stars[2]->geometry(), QRect(800, 48, 49, 49));
  EXPECT_EQ(app.sh->idiomsWindow->stars[1]->geometry(), QRect(744, 48, 49, 45));
  EXPECT_EQ(app.sh->idiomsWindow->options[8]->text(), QStringLiteral("適するものを選べ。"));
  EXPECT_EQ(app.sh->homonymsWindow->options[5]->geometry(), QRect(376, 72, 177, 37));
  EXPECT_EQ(app.sh->registrationWindow->chapterFrame->geometry(), QRect(344, 152, 233, 177));
  EXPECT_EQ(app.sh->messageWindow->certificateButton->geometry(), QRect(240, 328, 153, 57));
}
