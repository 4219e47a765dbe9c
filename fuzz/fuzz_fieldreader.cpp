// Fuzz target: the field reader and the question banks on any bytes. Checks
// that reading ends, that every problem's line lies inside the file, that
// every line reported undecodable really holds bytes a fresh decoder refuses,
// and that a report line never spans two lines.
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>

#include "chapter1/bodyidiomsbank.h"
#include "chapter2/homonymsbank.h"
#include "chapter3/idiomsbank.h"
#include "questions/fieldreader.h"
#include "questions/questionfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // Every line end (CR LF, LF, CR) starts one more line.
  int lines = 1;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    if (bytes[i] == '\r' || bytes[i] == '\n') ++lines;
  }

  std::vector<FileProblem> decodeProblems;
  TextEncoding encoding = TextEncoding::Cp932;
  FieldReader reader(decodeQuestionText(bytes, &decodeProblems, &encoding));
  if (encoding == TextEncoding::Cp932 || encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom) {
    // The lines of the file as bytes, each decoded alone by a decoder of its
    // own: a reported line must fail, an unreported one must not.
    const QByteArray body = encoding == TextEncoding::Utf8Bom ? bytes.mid(3) : bytes;
    std::vector<QByteArray> lineBytes(1);
    for (qsizetype i = 0; i < body.size(); ++i) {
      if (body[i] == '\r' || body[i] == '\n') {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
        lineBytes.emplace_back();
      } else {
        lineBytes.back() += body[i];
      }
    }
    std::vector<bool> bad(lineBytes.size() + 1, false);
    for (const FileProblem& p : decodeProblems) {
      if (p.line < 1 || p.line > static_cast<int>(lineBytes.size())) std::abort();
      bad[static_cast<std::size_t>(p.line)] = true;
    }
    for (std::size_t l = 1; l <= lineBytes.size(); ++l) {
      QStringDecoder decoder = encoding == TextEncoding::Cp932
                                   ? QStringDecoder("windows-31j", QStringConverter::Flag::Stateless)
                                   : QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
      const QString text = decoder.decode(lineBytes[l - 1]);
      if (decoder.hasError() != bad[l]) std::abort();
    }
  }
  Field field;
  int lastLine = 1;
  int fields = 0;
  while (!reader.atEnd() && reader.next(field)) {
    if (field.line < lastLine || field.line > lines) std::abort();
    lastLine = field.line;
    (void)FieldReader::toValue(field).asNumber();
    if (++fields > bytes.size() + 1) std::abort();  // each field takes at least a byte
  }

  BodyIdiomsBank body;
  const std::vector<FileProblem> problems = body.loadBytes(bytes);
  const int count = body.recordCount();
  if (problems.empty() && (count < quiz::kQuestionsPerQuiz || count > BodyIdiomsBank::kMaxRecords)) std::abort();
  for (const FileProblem& p : problems) {
    if (p.line < 0 || p.line > lines) std::abort();
    if (reportLine(QStringLiteral("体.txt"), p).contains(u'\n')) std::abort();
  }
  if (problems.empty()) {
    for (int k = 1; k <= count; ++k) {
      const int answer = BodyIdiomsBank::answerIndex(body.record(k).answer);
      if (answer < 0 || answer > 11) std::abort();
      (void)BodyIdiomsBank::splitMeaning(body.record(k).meaning.asText());
    }
  }
  (void)describeProblems(QStringLiteral("体.txt"), problems);

  // A bank the program accepts must play three quizzes without a draw that
  // never ends: chapter 2's marks run out, chapter 3's keys must suffice.
  unsigned state = 1;
  const std::function<float()> rnd = [&state] {
    state = state * 1664525u + 1013904223u;
    return static_cast<float>(state >> 8) / 16777216.0f;
  };
  if (HomonymsBank bank; bank.loadBytes(bytes).empty()) {
    for (int quiz = 0; quiz < 3; ++quiz) {
      bank.newQuiz();
      for (int q = 1; q <= 10; ++q) {
        const int r = bank.draw(q, rnd);
        const std::size_t n = bank.candidates(bank.record(r).key).size();
        if (r < 1 || r > bank.lastRecord || n < 1 || n > 5) std::abort();
      }
    }
  }
  if (IdiomsBank bank; bank.loadBytes(bytes).empty()) {
    bank.drawQuiz(rnd);
    for (int q = 1; q <= 10; ++q) {
      bank.assemble(q, rnd);
      if (bank.rightOption < 0 || bank.rightOption > 7) std::abort();
    }
  }
  return 0;
}
