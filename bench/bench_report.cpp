// The teacher's class overview: a folder of 2,000 learner records read and
// laid out as the terminal table and as CSV. Goal: well under a second
// (a few tens of milliseconds).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "records/classreport.h"

namespace {

// 2,000 records of every kind a class folder holds: complete ones, a few
// damaged and short ones, kept copies and a question file beside them.
struct ClassFolder {
  QTemporaryDir tmp;
  ClassFolder() {
    for (int i = 0; i < 2000; ++i) {
      QFile f(tmp.path() + QStringLiteral("/生徒") + QString::number(i) + QStringLiteral(".dat"));
      if (!f.open(QIODevice::WriteOnly)) continue;
      if (i % 100 == 1)
        f.write("1,3\r\n");
      else if (i % 100 == 2)
        f.write("1,2,3x,4,5,6\r\n");
      else
        f.write(QByteArray::number(i % 3) + ",4," + (i % 7 == 0 ? "999" : "2") + ",5,0," + QByteArray::number(i % 50) +
                "\r\n");
    }
    QFile kept(tmp.path() + QStringLiteral("/生徒1.dat.bak"));
    if (kept.open(QIODevice::WriteOnly)) kept.write("1,3\r\n");
  }
};

void BM_ClassReport2000Records(benchmark::State& state) {
  ClassFolder folder;
  for (auto _ : state) {
    const std::vector<classreport::Row> rows = classreport::read(folder.tmp.path());
    benchmark::DoNotOptimize(classreport::table(rows));
    benchmark::DoNotOptimize(classreport::csv(rows));
  }
}
BENCHMARK(BM_ClassReport2000Records)->Unit(benchmark::kMillisecond);

}  // namespace
