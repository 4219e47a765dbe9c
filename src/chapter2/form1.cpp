#include "chapter2/form1.h"

#include <QGroupBox>

#include "layout/layout.h"
#include "startup/shoki.h"

using namespace layout;

Form1::Form1(Shoki& sh)
    : ChapterWindow(sh, 2, QStringLiteral("第２章 同音異義語 (コトバリオンVer.1.3)"), {1024, 700},
                    QStringLiteral("ヘ ル プ")) {
  QWidget* c = client();
  Lbl1 = ui::label(c, QStringLiteral("Label1"), {384, 112, 0, 0}, designFont(18), colour::black);
  Label1 =
      ui::label(c, QStringLiteral("連続満点記録"), {552, 56, 137, 27}, designFont(15.75, true, true), colour::black);
  makeStars({696, 744, 792}, 48, {49, 49});
  Pic1 = new PictureBox(c);
  Pic1->setGeometry(168, 208, 665, 81);
  Pic1->setBackColor(colour::white);
  Pic1->setPrintFont(designFont(28));
  Pic1->setTwipUnit(15);
  Frm1 = ui::frame(c, QStringLiteral("選 択 欄"), {168, 304, 665, 153}, designFont(12, true, true), QColor());
  const int lefts[] = {32, 200, 376, 32, 200};
  const int tops[] = {24, 24, 24, 80, 80};
  for (int i = 0; i < 5; ++i) {
    QRadioButton* b = Opt1.add(Frm1, QString());
    ui::place(b, {lefts[i], tops[i], 145, 37}, designFont(28), colour::black);
  }
  ui::place(Opt1.add(Frm1, QStringLiteral("一つ選ぶ")), {376, 72, 177, 37}, designFont(22), colour::black);
  Lbl2 = ui::label(c, QStringLiteral("Label2"), {296, 528, 0, 0}, designFont(28), colour::blue);
  Cmd1 = ui::button(c, QStringLiteral("Command1"), {696, 536, 169, 65}, designFont(14), colour::lightYellow);
}

bool Form1::Main1() {
  // The quiz of this chapter comes in a later version.
  Cmd1->hide();
  showNotReady(QStringLiteral("２"));
  return true;
}
