#include "chapter3/form4.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "startup/shoki.h"

using namespace layout;

Form4::Form4(Shoki& sh)
    : ChapterWindow(sh, 3, QStringLiteral("第３章 慣用句（一般）  (コトバリオンVer.1.3)"), {1024, 760},
                    QStringLiteral("ヘ　ル　プ")) {
  QWidget* c = client();
  Lbl1 =
      ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::darkBlue, colour::lightYellow);
  QFont plain = c->font();
  plain.setPointSize(26);
  lbl2 = ui::label(c, QStringLiteral("Label2"), {288, 168, 0, 0}, plain, colour::darkBlue, colour::paleGreen);
  Pic1 = new PictureBox(c);
  Pic1->setGeometry(128, 208, 777, 113);
  Pic1->setBackColor(colour::white);
  Pic1->setForeColor(colour::darkBlue);
  Pic1->setPrintFont(designFont(24));
  Frm1 = ui::frame(c, QStringLiteral("選択欄"), {128, 336, 785, 137}, designFont(12), colour::lightGreen);
  const int lefts[] = {8, 160, 320, 480, 632, 8, 160, 320};
  const int tops[] = {32, 32, 32, 32, 32, 80, 80, 80};
  for (int i = 0; i < 8; ++i) {
    QRadioButton* b = Opt1.add(Frm1, QString());
    ui::place(b, {lefts[i], tops[i], 161, 33}, designFont(16), colour::navy, colour::lightGreen);
  }
  ui::place(Opt1.add(Frm1, QStringLiteral("適するものを選べ。")), {480, 80, 257, 33}, designFont(16), colour::black,
            colour::lightGreen);
  QFont score = c->font();
  score.setPointSize(28);
  Lbl3 = ui::label(c, QStringLiteral("Label3"), {104, 520, 0, 0}, score, colour::black, colour::white);
  Cmd1 = ui::button(c, QStringLiteral("問題開始"), {696, 536, 169, 65}, designFont(15), colour::lightYellow);
  Lbl4 = ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 33}, designFont(15.75, true, true), colour::black,
                   colour::lightYellow);
  makeStars({696, 744, 792}, 48, {49, 45});
}

bool Form4::Main4() {
  // The quiz of this chapter comes in a later version.
  Cmd1->hide();
  showNotReady(QStringLiteral("３"));
  return true;
}
