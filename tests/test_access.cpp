// What a screen reader reads: every text the program draws, through Qt's
// accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include "layout/widgets.h"
#include "testapp.h"

namespace {
QString read(QObject* o, QAccessible::Text t = QAccessible::Name) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  return i ? i->text(t) : QStringLiteral("(none)");
}
QAccessible::Role role(QObject* o) { return QAccessible::queryAccessibleInterface(o)->role(); }

// What a screen reader hears as it happens: each control that takes the
// focus and each alert that appears, with its name and description then.
struct Reader : QObject {
  QStringList heard;
  Reader() { QCoreApplication::instance()->installEventFilter(this); }
  ~Reader() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    const bool alert = e->type() == QEvent::Show && o->isWidgetType() && role(o) == QAccessible::AlertMessage;
    if (alert || (e->type() == QEvent::FocusIn && o == QApplication::focusWidget()))
      heard << read(o) + u'|' + read(o, QAccessible::Description);
    return false;
  }
};
}  // namespace

TEST(Access, TheRegistrationWindowIsHeard) {
  TestApp app;
  RegistrationWindow* f = app.sh->registrationWindow;
  EXPECT_EQ(read(f->nameEdit), QStringLiteral("あなたの名前は"));
  EXPECT_EQ(read(f->registerButton), QStringLiteral("登録"));
  app.registerName(QStringLiteral("ゆい"), "2,5,999,4,0,1\r\n");
  // The summary with the chapter choice that has the focus.
  EXPECT_EQ(read(f->chapterOptions[0], QAccessible::Description), QStringLiteral("5回 連続満点は、 2回"));
  EXPECT_EQ(read(f->chapterOptions[1], QAccessible::Description), QStringLiteral("修了"));
  const QString summary = read(f->chapterOptions[3], QAccessible::Description);
  EXPECT_TRUE(summary.startsWith(QStringLiteral("「ゆい」 さんの今までの成績"))) << summary.toStdString();
  EXPECT_TRUE(summary.contains(QStringLiteral("第３章　 1回 連続満点は、 0回"))) << summary.toStdString();
}

TEST(Access, EverythingDrawnIsReadAloud) {
  for (int chapter = 1; chapter <= 3; ++chapter) {
    TestApp app;
    ChapterWindow* w = app.enter(QStringLiteral("ゆい"), chapter, "2,5,2,5,2,5\r\n");
    // The streak is read once, with its heading; a star as lit or not.
    QLabel* heading = w->streakHeading;
    EXPECT_EQ(read(heading).toStdString(), "連続満点記録 3回中2回") << chapter;
    EXPECT_EQ(read(w->stars[0]), QStringLiteral("★"));
    EXPECT_EQ(read(w->stars[2]), QStringLiteral("☆"));
    EXPECT_EQ(role(w->stars[2]), QAccessible::Graphic);
    // The spaced help menu is read as one word.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w->menuBar())->child(1)->text(QAccessible::Name),
              QStringLiteral("ヘルプ"));
    // The instructions are read with the start button, which has the focus.
    QPushButton* start = w->startButton;
    EXPECT_TRUE(read(start, QAccessible::Description)
                    .contains(chapter == 2 ? QStringLiteral("「」で囲んだ") : QStringLiteral("問題文")))
        << chapter;
    app.start();
    const QStringList drawn = w->questionBox->printedLines();
    ASSERT_FALSE(drawn.isEmpty());
    // The question box has the focus and reads the question.
    EXPECT_EQ(w->focusWidget(), w->questionBox);
    EXPECT_EQ(role(w->questionBox), QAccessible::StaticText);
    if (chapter == 2) {
      // The red kana word, in quotation marks: 「文1の「かなg1」です。」
      const QString kana =
          app.sh->homonymsWindow->bank.record(app.sh->homonymsWindow->bank.currentRecord).kana.asText();
      EXPECT_EQ(read(w->questionBox),
                QString(drawn[0]).replace(kana, QStringLiteral("「") + kana + QStringLiteral("」")));
      EXPECT_TRUE(read(w->questionBox, QAccessible::Description).startsWith(QStringLiteral("第 1問")));
      // Each option is told apart by the other readings of its kanji.
      EXPECT_FALSE(read(app.sh->homonymsWindow->options[0], QAccessible::Description).isEmpty());
      EXPECT_EQ(read(app.sh->homonymsWindow->optionsFrame), QStringLiteral("選択欄"));
    } else {
      // The meaning, as printed but as one line; the sentence and the
      // number with it.
      EXPECT_EQ(read(w->questionBox), drawn.join(QString()).remove(u'\r').remove(u'\t'));
      EXPECT_FALSE(read(w->questionBox).isEmpty());
      EXPECT_TRUE(read(w->questionBox, QAccessible::Description).contains(QStringLiteral("第 1問")));
      EXPECT_FALSE(read(w->questionBox, QAccessible::Description).contains(u'＊'));
    }
    // The message window is an alert that reads its message and its picture.
    // The window system activates it, and the chapter window again as soon
    // as it is dismissed.
    MessageWindow* f5 = app.sh->messageWindow;
    QStringList heard;
    for (int i = 0; i < 2; ++i)
      app.fake.dismissals.push_back([&](QWidget*) {
        QApplication::setActiveWindow(f5);
        heard << read(f5, QAccessible::Description) + u'|' + read(f5->picture) + u'|' +
                     read(f5->okButton, QAccessible::Description);
        f5->hide();
        QApplication::setActiveWindow(w);
      });
    // The grade message takes the focus on its button, also where the
    // window system takes the activation away as it appears; its picture is
    // no longer named as the answer's.
    app.fake.dismissals.push_back([&](QWidget*) {
      QCoreApplication::processEvents();
      QApplication::setActiveWindow(nullptr);
      for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
      heard << read(f5->picture) + u'|' + (f5->isActiveWindow() && f5->okButton->hasFocus() ? u'F' : u'-');
      f5->hide();
    });
    {
      // Answered by the keyboard: the message, then the new question written
      // in full; never the old one, nor the answered option.
      QApplication::setActiveWindow(w);
      QRadioButton* answer = w->options[w->rightOption()];
      answer->setFocus();
      Reader reader;
      QTest::keyClick(answer, Qt::Key_Space);
      const std::string told = reader.heard.join(u'/').toStdString();
      ASSERT_FALSE(reader.heard.isEmpty());
      EXPECT_TRUE(reader.heard[0].contains(QStringLiteral("正解"))) << told;
      EXPECT_TRUE(reader.heard.back().contains(QStringLiteral("第 2問　ただいまの得点は、 10点です。"))) << told;
      for (const QString& h : reader.heard) {
        EXPECT_FALSE(h.contains(QStringLiteral("第 1問"))) << told;
        EXPECT_FALSE(h.startsWith(answer->text() + u'|')) << told;
      }
    }
    app.answer(false);
    ASSERT_EQ(heard.size(), 3);
    EXPECT_TRUE(heard[0].contains(QStringLiteral("|正解|"))) << heard[0].toStdString();
    EXPECT_TRUE(heard[1].contains(QStringLiteral("|不正解|"))) << heard[1].toStdString();
    EXPECT_EQ(heard[2], MessageWindow::kPictureName + QStringLiteral("|F"));
    // Read once: with the alert, not again with its button.
    EXPECT_EQ(heard[1].section(u'|', 2, 2), QString());
    EXPECT_FALSE(heard[1].section(u'|', 0, 0).isEmpty());
    EXPECT_EQ(role(f5), QAccessible::AlertMessage);
    // Cleared, the box reads nothing.
    w->questionBox->Cls();
    EXPECT_EQ(read(w->questionBox), QString());
  }
  // The certificate's lines.
  TestApp app;
  const QStringList lines = {QStringLiteral("免許皆伝状"), QStringLiteral("ゆい殿")};
  app.sh->messageWindow->showText(QStringLiteral("正解です。"));
  Reader reader;
  app.sh->messageWindow->showCertificate(lines, 22, 15);
  ASSERT_FALSE(reader.heard.isEmpty());
  EXPECT_EQ(reader.heard[0].section(u'|', 1), lines.join(u'\n'));
  EXPECT_EQ(read(app.sh->messageWindow->certificateBox), lines.join(u'\n'));
  EXPECT_EQ(read(app.sh->messageWindow, QAccessible::Description), lines.join(u'\n'));
  app.sh->messageWindow->hide();
}
