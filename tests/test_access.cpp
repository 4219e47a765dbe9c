// What a screen reader reads: every text the program draws, through Qt's
// accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>

#include "chapter1/form3.h"
#include "chapter2/form1.h"
#include "chapter3/form4.h"
#include "records/form2.h"
#include "records/form5.h"
#include "testapp.h"

namespace {
QString read(QObject* o, QAccessible::Text t = QAccessible::Name) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  return i ? i->text(t) : QStringLiteral("(none)");
}
QAccessible::Role role(QObject* o) { return QAccessible::queryAccessibleInterface(o)->role(); }
}  // namespace

TEST(Access, EverythingDrawnIsReadAloud) {
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    app.writeSmallBanks();
    app.write(QStringLiteral("ゆい.dat"), "2,5,2,5,2,5\r\n");
    app.registerName(QStringLiteral("ゆい"));
    app.choose(chapter);
    ChapterWindow* w = app.sh->chapterWindow(chapter);
    // The stars read as the streak.
    EXPECT_EQ(read(w->Pic2[0]).toStdString(), "連続満点記録 3回中2回") << chapter;
    EXPECT_EQ(role(w->Pic2[2]), QAccessible::Graphic);
    app.start();
    const QStringList drawn = w->Pic1->printedLines();
    ASSERT_FALSE(drawn.isEmpty());
    // The question box has the focus and reads the question.
    EXPECT_EQ(w->focusWidget(), w->Pic1);
    EXPECT_EQ(role(w->Pic1), QAccessible::StaticText);
    if (chapter == 2) {
      // The red kana word, in quotation marks: 「文1の「かなg1」です。」
      const QString kana = app.sh->Mon5[static_cast<std::size_t>(app.sh->form1->bank.CurRec)].asText();
      EXPECT_EQ(read(w->Pic1), QString(drawn[0]).replace(kana, QStringLiteral("「") + kana + QStringLiteral("」")));
      EXPECT_EQ(read(w->Pic1, QAccessible::Description), QStringLiteral("第 1問"));
    } else {
      // The meaning, as printed; the sentence and the number with it.
      EXPECT_EQ(read(w->Pic1), drawn.join(u'\n').remove(u'\r').remove(u'\t'));
      EXPECT_FALSE(read(w->Pic1).isEmpty());
      EXPECT_TRUE(read(w->Pic1, QAccessible::Description).contains(QStringLiteral("第 1問")));
      EXPECT_FALSE(read(w->Pic1, QAccessible::Description).contains(u'＊'));
    }
    // The message window is an alert that reads its message and its picture.
    Form5* f5 = app.sh->form5;
    QStringList heard;
    for (int i = 0; i < 2; ++i)
      app.fake.dismissals.push_back([&](QWidget*) {
        heard << read(f5, QAccessible::Description) + u'|' + read(f5->Pic1) + u'|' +
                     read(f5->Cmd1, QAccessible::Description);
        f5->hide();
      });
    app.answer(true);
    app.answer(false);
    ASSERT_EQ(heard.size(), 2);
    EXPECT_TRUE(heard[0].contains(QStringLiteral("|正解|"))) << heard[0].toStdString();
    EXPECT_TRUE(heard[1].contains(QStringLiteral("|不正解|"))) << heard[1].toStdString();
    EXPECT_EQ(heard[1].section(u'|', 0, 0), heard[1].section(u'|', 2, 2));
    EXPECT_FALSE(heard[1].section(u'|', 0, 0).isEmpty());
    EXPECT_EQ(role(f5), QAccessible::AlertMessage);
    // Cleared, the box reads nothing.
    w->Pic1->Cls();
    EXPECT_EQ(read(w->Pic1), QString());
  }
  // The certificate's lines.
  TestApp app;
  const QStringList lines = {QStringLiteral("免許皆伝状"), QStringLiteral("ゆい殿")};
  app.sh->form5->showCertificate(lines, 22, 15);
  EXPECT_EQ(read(app.sh->form5->Pic2), lines.join(u'\n'));
  EXPECT_EQ(read(app.sh->form5, QAccessible::Description), lines.join(u'\n'));
  app.sh->form5->hide();
}
