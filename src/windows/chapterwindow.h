#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <vector>

#include "layout/layout.h"
#include "layout/widgets.h"
#include "questions/questionbank.h"
#include "questions/quizrules.h"

class QAction;
class QGroupBox;
class QPushButton;
class Session;

// The fixed texts of a chapter window.
struct ChapterCaptions {
  QString window;  // the title bar
  QString help;    // the menu entry that opens the help
  // The message box shown when the close box ends the program, and its title.
  QString closing = QStringLiteral("コトバリオンを終了します。");
  QString closingTitle = QStringLiteral("コトバリオン");
};

// The shape every chapter window shares: a menu bar with 終了 and help, a
// client area of fixed size, the picture box questionBox, three star pictures stars
// and a set-up method that the registration window calls.
class ChapterWindow : public QMainWindow {
  Q_OBJECT
 public:
  // One star for each perfect quiz of the streak that completes a chapter.
  static constexpr std::size_t kStars = quiz::kStreakToComplete;
  ChapterWindow(Session& session, int chapter, QSize client, ChapterCaptions captions);

  QWidget* client() const { return client_; }
  // The controls every chapter has; each chapter's window makes and places them.
  QLabel* titleLabel = nullptr;        // the chapter's name, then the question's number
  QLabel* sentenceLabel = nullptr;     // the question's sentence (chapter 2 prints it in questionBox)
  QLabel* streakHeading = nullptr;     // 連続満点記録 (perfect quizzes in a row), beside the stars
  QGroupBox* optionsFrame = nullptr;   // 選択欄, the frame of the options
  OptionArray options;                 // the answers, then the neutral option
  QLabel* scoreLabel = nullptr;        // the score after an answer
  QPushButton* startButton = nullptr;  // starts the quiz
  PictureBox* questionBox = nullptr;
  std::array<PictureBox*, kStars> stars{};
  QAction* quitAction = nullptr;
  QAction* helpAction = nullptr;

  // Where the window (its client area and menu bar) does not fit into room,
  // the part of the screen left to it, the client area scrolls inside a
  // window that does; where it fits, nothing changes.
  void fitInto(QSize room);
  // Lays the window out for the screen's twips per pixel: placed and
  // fitted to the screen, its controls' fonts sized.
  virtual void layOut(std::int16_t twipsPerPixel) = 0;

  // Sets the chapter up as its window opens: reads its question file, lights
  // the stars of the streak and prepares a quiz; false when the
  // chapter cannot start (its question file was refused).
  bool setUp();
  // The chapter's question bank.
  virtual QuestionBank& questionBank() = 0;
  // The chapter's own instructions on screen before a quiz (setUp has
  // started the quiz, hidden the score and shown the start button).
  virtual void prepareQuiz() = 0;
  // The option of the right answer to the question on screen.
  int rightOption() { return questionBank().rightOption; }
  // How many answers the question on screen offers: every option before the
  // neutral one, unless a chapter offers fewer.
  virtual int answerCount() const { return options.neutral(); }

  // The learner's choice of an option, the same in every chapter: only the
  // first choice after a question is dealt answers it; a right answer goes
  // on to the next question, a wrong one ends the quiz.
  void onOptionClicked(int index);
  // True from the moment a question is dealt until its first choice: only
  // that choice answers it.
  bool questionOpen = false;
  // A right answer: counted, the score and the praise shown.
  void onRightAnswer();
  // A wrong answer: the window red, the score and the right answer shown,
  // then the quiz ends.
  void onWrongAnswer();
  // The wrong answer's first line, naming the right answer (each chapter
  // words it its own way).
  virtual QString correction() const = 0;
  // After an answer: the next question numbered and dealt, or the quiz
  // ended after the last one. The question number rises only here.
  void nextQuestion();
  // What a chapter's screen clears or shows between two questions (each
  // chapter shows a different set of controls around its question).
  virtual void clearAnsweredQuestion() = 0;
  // Draws the question of the number just reached and shows it (each bank
  // draws and each chapter lays out its question its own way).
  virtual void dealQuestion() = 0;
  // The start button: a fresh question box, then the first question.
  void onStartClicked();
  // The quiz has ended with its last answer: counted, the stars and the
  // bank's marks of drawn questions cleared unless it was perfect, judged.
  void endQuiz();
  void setBackColor(const QColor& c);
  QColor backColor() const;
  // The background of this window and of the message window.
  void setBackColors(const QColor& c);
  // An answer's feedback in the message window (MessageWindow::showFeedback);
  // whenMessageShown runs once the message has the focus, and then the focus
  // comes back to the question box unheard. False when the program ended
  // meanwhile.
  bool showFeedback(bool right, const QString& text, std::function<void()> whenMessageShown = nullptr);
  // Loads "starn.gif" into all three stars, then "star.gif" into the first
  // lit ones (never more than three).
  void setStars(int lit);
  void setStar(int index, bool lit);

  // A question has just been dealt: for a moment no input aimed at the
  // screen before answers it, and the focus goes to the question box, which
  // a screen reader then reads (its printed text, then spokenQuestion).
  // Tab or an arrow key goes on to the answers.
  void questionDealt(const QString& spokenQuestion);
  // The words a screen reader hears for the stars: the streak.
  static QString streakText(int lit);

  // Menu 終了: count the quiz, break the streak unless completed, save, end.
  void onQuit();
  // Menu help: the help file at its contents page, not modal.
  void showHelp();
  // The learner closing the window: count the quiz, break the streak of a
  // quiz left before its tenth question, save, end.
  void onWindowClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Chapter 2 counts a click on its neutral option as the question's answer
  // (it then hides the answers); the others ignore it.
  virtual bool neutralChoiceAnswers() const { return false; }
  virtual void onNeutralChosen() {}
  // Chapters 1 and 3 show the score as soon as an answer is given; chapter
  // 2 shows it in the answer's colour with the feedback.
  virtual bool showsScoreOnAnswer() const { return true; }
  // The score line: chapter 2 words it more briefly.
  virtual QString scoreText() const;
  // Shows the score line.
  void showScore();
  // After a wrong answer's feedback: chapter 1 clears the score it showed.
  virtual void afterWrongAnswer() {}
  // Chapter 2 shows the score in the answer's colour.
  virtual void colourScore(bool /*right*/) {}
  // Chapter 2 hides its answers once the feedback has the focus.
  virtual void hideAnswers() {}
  // Before the first question: the score cleared, the question box emptied
  // in the questions' size. Chapter 2 keeps its size and empties its box as
  // it deals.
  virtual void clearForFirstQuestion();
  // Before the judgement: chapter 2 hides its options and clears the question.
  virtual void beforeJudging() {}
  // Places the window by position, its size its client area and menu bar
  // or, on a screen too small for it, what fits with the client area
  // scrolling.
  void placeOnScreen(layout::Position position);
  // Creates questionBox: white, at geometry, printing in font.
  void makeQuestionBox(const QRect& geometry, const QFont& font);
  // Makes option neutral the one selected while no answer is given, and
  // connects the start button and the options to the quiz flow.
  void connectControls(int neutral);
  // Creates the three star boxes at the given lefts and top; the label
  // beside them reads the streak too.
  void makeStars(std::array<int, kStars> lefts, int top, QSize size, QLabel* streakLabel);

  Session& session_;
  const int chapter_;
  QWidget* client_;
  QLabel* streakLabel_ = nullptr;
  std::array<bool, kStars> lit_{};
  const ChapterCaptions captions_;
};

// A chapter window with its own question bank.
template <class Bank>
class ChapterWindowOf : public ChapterWindow {
 public:
  using ChapterWindow::ChapterWindow;

  // The chapter's records, the marks of those drawn and the question dealt.
  Bank bank;
  QuestionBank& questionBank() override { return bank; }
};
