#include <gtest/gtest.h>

#include "layout/fit.h"
#include "testapp.h"

namespace {

void expectSameFont(const QFont& a, const QFont& b, const char* what) {
  EXPECT_EQ(a.family(), b.family()) << what;
  EXPECT_EQ(a.pointSizeF(), b.pointSizeF()) << what;
  EXPECT_EQ(a.bold(), b.bold()) << what;
}

}  // namespace

// The boxes the checks measure against are the windows' own, as laid out at
// 15 twips per pixel.
TEST(Fit, BoxesAreTheWindowsOwn) {
  TestApp app;
  const BodyIdiomsWindow* f3 = app.sh->bodyIdiomsWindow;
  EXPECT_EQ(fit::chapter1Sentence().width, f3->client()->width() - f3->sentenceLabel->x());
  expectSameFont(fit::chapter1Sentence().font, f3->sentenceLabel->font(), "chapter 1 sentence");
  EXPECT_EQ(fit::chapter1Meaning().width, f3->questionBox->width());
  const HomonymsWindow* f1 = app.sh->homonymsWindow;
  EXPECT_NEAR(fit::chapter2Sentence().width, f1->questionBox->width() - 10.0 / 15.0, 1e-9);
  expectSameFont(fit::chapter2Sentence().font, const_cast<HomonymsWindow*>(f1)->questionBox->printFont(),
                 "chapter 2 sentence");
  EXPECT_EQ(fit::chapter2Option().width, f1->options[0]->width());
  expectSameFont(fit::chapter2Option().font, f1->options[0]->font(), "chapter 2 option");
  const IdiomsWindow* f4 = app.sh->idiomsWindow;
  EXPECT_EQ(fit::chapter3Sentence().width, f4->client()->width() - f4->sentenceLabel->x());
  expectSameFont(fit::chapter3Sentence().font, f4->sentenceLabel->font(), "chapter 3 sentence");
  // Any phrase may land on any option: the narrowest part of a button that
  // the next button or the frame does not cover is what a phrase may take.
  std::vector<QRect> buttons;
  for (int i = 0; i <= 8; ++i) buttons.push_back(f4->options[i]->geometry());
  EXPECT_EQ(buttons, fit::chapter3OptionRects());
  EXPECT_EQ(f4->optionsFrame->width() - 1, fit::chapter3FrameInnerRight());
  EXPECT_EQ(fit::visibleWidths(buttons, f4->optionsFrame->width() - 1),
            (std::vector<int>{152, 160, 160, 152, 152, 152, 160, 160, 257}));
  EXPECT_EQ(fit::chapter3Option().width, 152);
  expectSameFont(fit::chapter3Option().font, f4->options[0]->font(), "chapter 3 option");
  EXPECT_EQ(fit::chapter3Meaning().width, f4->questionBox->width());
}

TEST(Fit, LongTextsDoNotFitAndShortOnesDo) {
  struct Case {
    fit::Box box;
    QString fits, tooLong;
  };
  const std::vector<Case> cases = {
      {fit::chapter1Sentence(), QStringLiteral("恩人には一生＊が上がらない。"), QString(22, u'あ')},
      {fit::chapter2Sentence(), QStringLiteral("政治にかんしんを持つ。"), QString(19, u'漢')},
      {fit::chapter2Option(), QStringLiteral("関心"), QStringLiteral("関心関心")},
      {fit::chapter3Option(), QStringLiteral("猫をかぶる"), QStringLiteral("猫の手も借りたい")},
      {fit::chapter3Meaning(), QString(26, u'意'), QString(33, u'意')},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(fit::fits(c.box, c.fits)) << c.fits.toStdString() << " " << fit::width(c.box, c.fits);
    EXPECT_FALSE(fit::fits(c.box, c.tooLong)) << c.tooLong.toStdString() << " " << fit::width(c.box, c.tooLong);
  }
}
