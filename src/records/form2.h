#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cstdint>

#include "layout/widgets.h"

class QGroupBox;
class Shoki;

// The registration window: the learner types a name, sees the record
// summary, and picks a chapter. It is the hub between quizzes.
class Form2 : public QWidget {
  Q_OBJECT
 public:
  explicit Form2(Shoki& sh);

  QLabel* Label1;
  QLineEdit* Txt1;
  QPushButton* Cmd1;
  QLabel* Lbl2;
  QLabel* Lbl3;
  QGroupBox* Frm1;
  // The option selected while no answer is given, after the answers.
  static constexpr int kNeutralOption = 3;
  OptionArray Opt1;
  QPushButton* Cmd2;

  std::int16_t Kaisu = 0;

  void Fr2Main();
  void Fr2Main1();
  // Loads the record of the name in Txt1. False when the program ended.
  bool DLoad();
  void Mesq();
  // Opens the chosen chapter's window and hides this one; false when the
  // chapter could not start and this window stays.
  bool Shut();
  void Star();

  void Cmd1_Click();
  void Txt1_Enter();
  void Opt1_Click(int index);
  void Cmd2_Click();
  // The learner closing the window: default sound, goodbye, end.
  void closeHandling();

  // The summary that Lbl3 shows, exactly as composed (LF CR line ends).
  const QString& summary() const { return summary_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Shoki& sh_;
  QString summary_;
};

// What the learner is told when the record file is there but does not load
// completely: the file, the problem, what play goes on with (what was read
// when partly, otherwise nothing), and that a copy of the file is kept.
QString recordDamageMessage(const QString& userName, const QString& problem, bool partly);

// The three-line summary of a record: per chapter its quiz count and streak,
// or " 修了" once completed, each line ending in LF CR.
QString recordSummary(const std::array<int, 7>& kiroku);
