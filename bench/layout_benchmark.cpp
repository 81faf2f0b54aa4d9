// Throughput of the layout interpreter, per pass: the measuring pass
// (MeasureLayout, with the row table) and a drawing pass whose sink does
// the least a sink can do. Target: at least 300 MB/s each. And the copy of
// a selection, which lays out the whole document once.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "art/layout_interpreter.h"
#include "art/page_limits.h"
#include "text/selection_copy.h"

namespace {

constexpr size_t kDocumentSize = 524288;

// Fills a document of exactly kDocumentSize bytes by repeating `text`,
// ending with a line feed as every rendered document does.
std::string Repeat(const std::string& text) {
  std::string document;
  document.reserve(kDocumentSize);
  while (document.size() < kDocumentSize) document += text;
  document.resize(kDocumentSize);
  document.back() = '\n';
  return document;
}

// The text of the corpus's .nfo files (zero bytes removed), repeated.
std::string NfoDocument() {
  std::string text;
  const std::filesystem::path root = QP_CORPUS_DIR;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!it->is_regular_file() || extension != ".nfo") continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    text += bytes;
  }
  return text.empty() ? std::string() : Repeat(text);
}

// 80 printable columns a line, ended by CR LF.
std::string CrLfDocument() {
  std::string line;
  for (int i = 0; i < 80; ++i) line += static_cast<char>('!' + i % 90);
  return Repeat(line + "\r\n");
}

// Takes every draw into a running sum so that the pass cannot be optimised
// away, and does nothing else.
struct ChecksumSink {
  uint32_t sum = 0;
  void Examine(int32_t, int32_t) {}
  void Draw(uint8_t b, int32_t column, int32_t row) {
    sum += b + static_cast<uint32_t>(column) * 31u + static_cast<uint32_t>(row) * 131u;
  }
  void RowStart(int32_t, int32_t) {}
};

const std::string& Document(int which) {
  static const std::string nfo = NfoDocument();
  static const std::string crlf = CrLfDocument();
  return which == 0 ? nfo : crlf;
}

void SetUp(benchmark::State& state, const std::string& document) {
  state.SetLabel(state.range(0) == 0 ? "corpus .nfo text" : "80-column CR LF lines");
  if (document.empty()) state.SkipWithError("no .nfo files under QP_CORPUS_DIR");
}

void BM_MeasurePass(benchmark::State& state) {
  const std::string& document = Document(static_cast<int>(state.range(0)));
  SetUp(state, document);
  std::vector<int32_t> lineTable(kLineTableSize);
  const auto* bytes = reinterpret_cast<const uint8_t*>(document.data());
  for (auto _ : state) {
    const PageMeasure page = MeasureLayout(bytes, static_cast<int32_t>(document.size()), lineTable.data());
    benchmark::DoNotOptimize(page);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

void BM_DrawPass(benchmark::State& state) {
  const std::string& document = Document(static_cast<int>(state.range(0)));
  SetUp(state, document);
  const auto* bytes = reinterpret_cast<const uint8_t*>(document.data());
  for (auto _ : state) {
    ChecksumSink sink;
    RunLayoutPass(bytes, static_cast<int32_t>(document.size()), sink);
    benchmark::DoNotOptimize(sink.sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

// The first release after a render that copies a whole view of 128 x 96
// cells at the end of the document: the window collects the page's shown
// rows (once a render) and copies from them.
void BM_CopySelection(benchmark::State& state) {
  const std::string& document = Document(static_cast<int>(state.range(0)));
  SetUp(state, document);
  const PageMeasure page = LimitPageSize(MeasureLayout(reinterpret_cast<const uint8_t*>(document.data()),
                                                       static_cast<int32_t>(document.size()), nullptr),
                                         1);
  char out[kSelectionTextSize];
  for (auto _ : state) {
    const ShownRows shown =
        CollectShownRows(reinterpret_cast<const uint8_t*>(document.data()),
                         static_cast<int32_t>(document.size()), page.columnCount, page.rowCount);
    benchmark::DoNotOptimize(
        CopySelectedText(shown, std::max(page.rowCount - 96, 0), CellSpan{0, 0, 128, 96}, out, sizeof out));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}

BENCHMARK(BM_MeasurePass)->Arg(0)->Arg(1);
BENCHMARK(BM_DrawPass)->Arg(0)->Arg(1);
BENCHMARK(BM_CopySelection)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
