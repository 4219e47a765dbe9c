// Speed of the paths a learner waits on: reading question files and records,
// opening chapter 1, one answer up to its feedback, a whole quiz. Targets:
// chapter open under 10 ms, answer to feedback under 5 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "chapter1/bodyidiomsbank.h"
#include "records/recordfile.h"
#include "testapp.h"
#include "windows/bodyidiomswindow.h"
#include "windows/registrationwindow.h"

namespace {

void BM_FieldReader900Records(benchmark::State& state) {
  const QByteArray bytes = bank900();
  std::vector<BodyIdiomsBank::Record> records;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BodyIdiomsBank::read(bytes, &records));
    benchmark::DoNotOptimize(records.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_FieldReader900Records)->Unit(benchmark::kMicrosecond);

void BM_RecordLoadAndSave(benchmark::State& state) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + u'/';
  LearnerRecord learner{{2, 0, 999}, {5, 0, 7}, 0};
  recordfile::save(dir, QStringLiteral("たろう"), learner);
  for (auto _ : state) {
    benchmark::DoNotOptimize(recordfile::load(dir, QStringLiteral("たろう"), learner));
    benchmark::DoNotOptimize(recordfile::save(dir, QStringLiteral("たろう"), learner));
  }
}
BENCHMARK(BM_RecordLoadAndSave)->Unit(benchmark::kMicrosecond);

// A registered learner at the chapter choice, with a 900-record question file.
struct Ready {
  TestApp app;
  Ready() {
    app.write(QStringLiteral("体.txt"), bank900());
    app.write(QStringLiteral("b.dat"), "0,0,0,0,0,0\r\n");
    app.registerName(QStringLiteral("b"));
  }
};

void BM_OpenChapter1(benchmark::State& state) {
  Ready r;
  for (auto _ : state) {
    r.app.choose(1);  // start message, bank load, stars, instruction screen
    state.PauseTiming();
    r.app.sh->bodyIdiomsWindow->hide();
    r.app.sh->registrationWindow->show();
    r.app.sh->registrationWindow->chapterOptions.select(3);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenChapter1)->Unit(benchmark::kMillisecond);

void BM_AnswerToFeedback(benchmark::State& state) {
  Ready r;
  r.app.choose(1);
  r.app.start();
  for (auto _ : state) {
    if (r.app.sh->quizState().question == 9) {
      state.PauseTiming();
      r.app.sh->newQuiz();
      r.app.sh->bodyIdiomsWindow->bank.clearAllMarks();
      r.app.sh->bodyIdiomsWindow->nextQuestion();
      state.ResumeTiming();
    }
    r.app.answer(true);  // sound, feedback text, picture, modal shown, next question dealt
  }
}
BENCHMARK(BM_AnswerToFeedback)->Unit(benchmark::kMillisecond);

void BM_WholeQuiz(benchmark::State& state) {
  Ready r;
  for (auto _ : state) {
    r.app.choose(1);
    r.app.start();
    for (int q = 0; q < 9; ++q) r.app.answer(true);
    r.app.answer(false);  // keeps the streak from completing the chapter
  }
}
BENCHMARK(BM_WholeQuiz)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
