#include "windows/chapterwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "layout/layout.h"
#include "questions/quizrules.h"
#include "questions/texts.h"
#include "startup/platform.h"
#include "windows/messagewindow.h"
#include "windows/placer.h"
#include "windows/session.h"

ChapterWindow::ChapterWindow(Session& session, int chapter, QSize client, ChapterCaptions captions)
    : session_(session), chapter_(chapter), captions_(std::move(captions)) {
  setWindowTitle(captions_.window);
  client_ = new QWidget(this);
  client_->setFixedSize(client);
  setCentralWidget(client_);
  quitAction = menuBar()->addAction(QStringLiteral("終了"));
  helpAction = menuBar()->addAction(captions_.help);
  // Spaced out (ヘ ル プ), the caption would be spelled letter by letter.
  ui::setAccessibleName(helpAction, QString(captions_.help).remove(u' ').remove(u'　'));
  connect(quitAction, &QAction::triggered, this, [this] { onQuit(); });
  connect(helpAction, &QAction::triggered, this, [this] { showHelp(); });
  setBackColor(layout::colour::green);
  // The menu bar keeps the desktop's own look, not the window's colour.
  QPalette menuPalette = QApplication::palette();
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
    menuPalette.setColor(role, menuPalette.color(role));
  menuBar()->setPalette(menuPalette);
  menuBar()->setAutoFillBackground(true);
  menuBar()->setFont(layout::designFont(11, false));
}

namespace {
// Until the window system has framed a window, a title bar this tall is
// guessed.
constexpr int kGuessedTitleBar = 32;
}  // namespace

void ChapterWindow::placeOnScreen(layout::Position position) {
  adjustSize();
  const ScreenMetrics m = session_.platform().screenMetrics();
  const QRect room = m.available.isEmpty() ? QRect(0, 0, m.width, m.height) : m.available;
  const QMargins frame = layout::plausibleFrame(session_.platform().frameMargins(this));
  fitInto(room.size().shrunkBy(frame.isNull() ? QMargins(0, kGuessedTitleBar, 0, 0) : frame));
  layout::applyLayout(this, position, session_.platform());
}

void ChapterWindow::fitInto(QSize room) {
  const QSize full = client_->size() + QSize(0, menuBar()->sizeHint().height());
  if (full.width() <= room.width() && full.height() <= room.height()) return;
  if (!qobject_cast<QScrollArea*>(centralWidget())) {
    takeCentralWidget();
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(client_);
    setCentralWidget(scroll);
    // The control that takes the focus is scrolled into view.
    connect(qApp, &QApplication::focusChanged, scroll, [scroll](QWidget*, QWidget* now) {
      if (now && scroll->widget()->isAncestorOf(now)) scroll->ensureWidgetVisible(now);
    });
  }
  // The minimum size the fixed client area gave the window goes; a scroll
  // bar one way takes room the other way, where the screen has it.
  layout()->activate();
  QSize size = full;
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (full.height() > room.height()) size.rwidth() += bar;
  if (full.width() > room.width()) size.rheight() += bar;
  resize(size.boundedTo(room));
}

void ChapterWindow::setBackColor(const QColor& c) {
  ui::setBack(this, c);
  ui::setBack(client_, c);
}

void ChapterWindow::setBackColors(const QColor& c) {
  setBackColor(c);
  session_.messageWindow->setBackColor(c);
}

bool ChapterWindow::showFeedback(bool right, const QString& text, std::function<void()> whenMessageShown) {
  // Until the message has the focus the focus stays where it is; then, in
  // a window no longer active, it goes to the question box unheard, so
  // neither the answered option nor the old question is read on the way
  // back to the next question.
  return session_.messageWindow->showFeedback(right, text, [this, hide = std::move(whenMessageShown)] {
    if (hide) hide();
    questionBox->mute();
    questionBox->setFocus();
  });
}

QColor ChapterWindow::backColor() const { return client_->palette().color(QPalette::Window); }

void ChapterWindow::makeQuestionBox(const QRect& geometry, const QFont& font) {
  questionBox = new PictureBox(client_);
  questionBox->setGeometry(geometry);
  questionBox->setBackColor(layout::colour::white);
  questionBox->setPrintFont(font);
}

void ChapterWindow::connectControls(int neutral) {
  options.setNeutral(neutral);
  connect(startButton, &QPushButton::clicked, this, [this] { onStartClicked(); });
  options.onClick = [this](int i) { onOptionClicked(i); };
}

void ChapterWindow::makeStars(std::array<int, kStars> lefts, int top, QSize size, QLabel* streakLabel) {
  streakLabel_ = streakLabel;
  for (std::size_t i = 0; i < kStars; ++i) {
    stars[i] = new PictureBox(client_);
    stars[i]->setGeometry(QRect(QPoint(lefts[i], top), size));
    stars[i]->setBackColor(QColor(0xef, 0xef, 0xef));
  }
}

QString ChapterWindow::streakText(int lit) {
  return QStringLiteral("連続満点記録 3回中") + QString::number(lit) + QStringLiteral("回");
}

void ChapterWindow::setStar(int index, bool lit) {
  if (index < 0 || index >= quiz::kStreakToComplete) return;
  stars[static_cast<std::size_t>(index)]->loadPicture(session_.appDir() +
                                                      (lit ? QStringLiteral("star.gif") : QStringLiteral("starn.gif")));
  lit_[static_cast<std::size_t>(index)] = lit;
  const QString streak = streakText(static_cast<int>(std::count(lit_.begin(), lit_.end(), true)));
  // The streak is read once, with its heading; each star only as lit or not.
  stars[static_cast<std::size_t>(index)]->setPictureName(lit ? QStringLiteral("★") : QStringLiteral("☆"));
  if (streakLabel_) streakLabel_->setAccessibleName(streak);
}

void ChapterWindow::questionDealt(const QString& spokenQuestion) {
  Platform& platform = session_.platform();
  options.holdInput([&platform] { return platform.elapsedMs(); }, questionBox);
  options.onHeld = [this] { session_.playSound(QString()); };
  // The question is written in full (the score with it, which the screen
  // shows only after an answer) before the focus comes to it.
  questionBox->setAccessibleDescription(spokenQuestion + QStringLiteral("　") + ChapterWindow::scoreText());
  questionBox->setFocusPolicy(Qt::TabFocus);
  // Taken anew even where the box kept the focus, so that it is read.
  if (questionBox->hasFocus()) questionBox->clearFocus();
  questionBox->setFocus();
}

void ChapterWindow::setStars(int lit) {
  for (int i = 0; i < quiz::kStreakToComplete; ++i) setStar(i, false);
  for (int i = 0; i < lit && i < quiz::kStreakToComplete; ++i) setStar(i, true);
}

bool ChapterWindow::setUp() {
  session_.setChapterInPlay(chapter_);
  session_.refreshAppDir();
  const std::vector<FileProblem> problems = questionBank().load(session_.appDir());
  if (!problems.empty()) {
    session_.messageBox(describeProblems(questionBank().fileName(), problems), QStringLiteral("コトバリオン"));
    return false;
  }
  setStars(session_.quizState().streak);
  // Every chapter starts a quiz the same way around its own instructions.
  session_.newQuiz();
  session_.platform().randomize();
  questionOpen = false;
  scoreLabel->hide();
  startButton->setText(QStringLiteral("問題開始"));
  startButton->show();
  prepareQuiz();
  startButton->setFocus();
  return true;
}

void ChapterWindow::onOptionClicked(int index) {
  const int neutral = options.neutral();
  if (index == neutral && !neutralChoiceAnswers()) return;
  if (!questionOpen) {
    options.select(neutral);
    return;
  }
  questionOpen = false;
  if (index == neutral) {
    onNeutralChosen();
    return;
  }
  if (showsScoreOnAnswer()) scoreLabel->show();
  if (index == rightOption()) {
    onRightAnswer();
    if (session_.ended()) return;
    options.select(neutral);
    nextQuestion();
  } else {
    onWrongAnswer();
    if (session_.ended()) return;
    options.select(neutral);
    setBackColors(layout::colour::green);
    afterWrongAnswer();
  }
}

void ChapterWindow::onRightAnswer() {
  colourScore(true);
  session_.answeredRight();
  showScore();
  showFeedback(true, session_.composeRightFeedback(), [this] { hideAnswers(); });
  hideAnswers();
}

void ChapterWindow::onWrongAnswer() {
  setBackColors(layout::colour::red);
  session_.answeredWrong();
  colourScore(false);
  showScore();
  const bool going = showFeedback(false, correction() + session_.composeWrongFeedback(), [this] { hideAnswers(); });
  hideAnswers();
  if (!going) return;
  endQuiz();
}

void ChapterWindow::onStartClicked() {
  clearForFirstQuestion();
  nextQuestion();
}

void ChapterWindow::clearForFirstQuestion() {
  ui::caption(scoreLabel, QString());
  questionBox->printFont().setPointSize(18);
  questionBox->Cls();
}

void ChapterWindow::nextQuestion() {
  setBackColors(layout::colour::green);
  clearAnsweredQuestion();
  if (session_.quizState().question >= quiz::kQuestionsPerQuiz) {
    endQuiz();
    return;
  }
  session_.advanceQuestion();
  dealQuestion();
}

QString ChapterWindow::scoreText() const {
  return QStringLiteral("ただいまの得点は、") + texts::num(session_.score() * quiz::kPointsPerAnswer) +
         QStringLiteral("点です。");
}

void ChapterWindow::showScore() {
  scoreLabel->show();
  ui::caption(scoreLabel, scoreText());
}

void ChapterWindow::endQuiz() {
  session_.progress().quizEnded();
  beforeJudging();
  if (session_.score() != quiz::kQuestionsPerQuiz) {
    setStars(0);
    questionBank().clearAllMarks();
  }
  session_.judgeQuiz();
}

void ChapterWindow::closeEvent(QCloseEvent* event) {
  onWindowClosed();
  event->accept();
}

void ChapterWindow::onQuit() {
  session_.playSound(QString());
  session_.progress().quitFromMenu(chapter_);
  session_.saveBeforeEnding();
  session_.messageBox(QStringLiteral("コトバリオンを終了します。"), QStringLiteral("コトバリオン"));
  session_.endProgram();
}

void ChapterWindow::onWindowClosed() {
  session_.playSound(QString());
  session_.progress().chapterWindowClosed(chapter_, session_.quizState().question);
  session_.saveBeforeEnding();
  session_.messageBox(captions_.closing, captions_.closingTitle);
  session_.endProgram();
}

void ChapterWindow::showHelp() {
  session_.platform().showHelp(session_.appDir() + QStringLiteral("コトバリオンV.1.3.hlp"), 15);
}
