// The question-file reader against the decoding it cannot avoid: reading the
// 900-record file costs at most three times decoding its bytes from code page
// 932, and a 4 MiB file of blank lines after its records reads in well under
// 100 ms (the reader is linear in the file's size).
#include <benchmark/benchmark.h>

#include <QStringDecoder>

#include "chapter1/bodyidiomsbank.h"
#include "testapp.h"

namespace {

void BM_DecodeCp932900Records(benchmark::State& state) {
  const QByteArray bytes = bank900();
  for (auto _ : state) {
    QStringDecoder decoder("windows-31j");
    QString text = decoder(bytes);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_DecodeCp932900Records)->Unit(benchmark::kMicrosecond);

// Ten good records, then blank lines up to 4 MiB.
QByteArray blankTail() {
  QByteArray bytes = smallBank();
  const QByteArray blank = "\r\n";
  bytes.reserve(4 * 1024 * 1024);
  while (bytes.size() + blank.size() <= 4 * 1024 * 1024 - 16) bytes += blank;
  return bytes;
}

void BM_FieldReaderBlankTail4MiB(benchmark::State& state) {
  const QByteArray bytes = blankTail();
  std::vector<BodyIdiomsBank::Record> records;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BodyIdiomsBank::read(bytes, &records));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_FieldReaderBlankTail4MiB)->Unit(benchmark::kMillisecond);

// The same blank lines with one stray field at the very end: every record
// before it is read from blank lines.
void BM_FieldReaderBlankLinesThenAField(benchmark::State& state) {
  const QByteArray bytes = blankTail() + "x";
  std::vector<BodyIdiomsBank::Record> records;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BodyIdiomsBank::read(bytes, &records));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes.size());
}
BENCHMARK(BM_FieldReaderBlankLinesThenAField)->Unit(benchmark::kMillisecond);

}  // namespace
