#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "layout/widgets.h"
#include "questions/quizrules.h"
#include "records/learnerrecord.h"

class QGroupBox;
class Session;

// The registration window: the learner types a name, sees the record
// summary, and picks a chapter. It is the hub between quizzes.
class RegistrationWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RegistrationWindow(Session& session);
  // Lays the window out for the screen's twips per pixel and shows it.
  void layOut(std::int16_t twipsPerPixel);

  QLabel* namePrompt;
  QLineEdit* nameEdit;
  QPushButton* registerButton;
  QLabel* summaryHeading;
  QLabel* summaryLabel;
  QGroupBox* chapterFrame;
  // The option selected while no chapter is chosen, after the chapters.
  static constexpr int kNeutralOption = quiz::kChapters;
  OptionArray chapterOptions;
  QPushButton* quitButton;

  void showNameEntry();
  void showChapterChoice();
  // Back from a judged quiz: shown again, at the chapter choice.
  void returnToChapterChoice();
  // Loads the record of the name in nameEdit. False when the program ended.
  bool loadRecord();
  void showSummary();
  // Opens the chosen chapter's window and hides this one; when the chapter
  // cannot start, this window stays.
  void openChapter();

  void onRegisterClicked();
  void onNameEntered();
  void onChapterClicked(int index);
  void onQuitClicked();
  // The learner closing the window: default sound, goodbye, end.
  void closeHandling();

  // The summary that summaryLabel shows, exactly as composed (LF CR line ends).
  const QString& summary() const { return summary_; }
  // True while the name box waits for a name that 登録 has not accepted yet.
  bool awaitingName() const { return stage_ == Stage::NameEntry; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // How far 登録 has taken the learner. Each press moves one stage on, to
  // ChapterChoice at most; a refused name stays at NameEntry.
  enum class Stage {
    Built,          // not yet put into its name-entry state
    NameEntry,      // the name box waits; a press checks the name
    NameAccepted,   // the press that accepted the name loads its record
    ChapterChoice,  // the record is loaded; a press only shows the choice again
  };
  Stage stage_ = Stage::Built;

  Session& session_;
  QString summary_;
};

// What the learner is told when the record file is there but does not load
// completely: the file, the problem, what play goes on with (what was read
// when partly, otherwise nothing), and that a copy of the file is kept.
QString recordDamageMessage(const QString& userName, const QString& problem, bool partly);

// The three-line summary of a record: per chapter its quiz count and streak,
// or " 修了" once completed, each line ending in LF CR.
QString recordSummary(const LearnerRecord& record);
