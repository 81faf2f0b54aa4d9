// Real art files through both passes: the measuring and the drawing pass
// must move the cursor identically, and every glyph drawn at a non-negative
// cell must lie inside the measured page.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "render/layout_interpreter.h"

namespace {

namespace fs = std::filesystem;
using Cell = std::pair<int32_t, int32_t>;

// The measuring sink with every examined position recorded.
struct MeasureRecorder {
  explicit MeasureRecorder(int32_t* lineTable) : measure(lineTable) {}
  void Examine(int32_t column, int32_t row) {
    examined.emplace_back(column, row);
    measure.Examine(column, row);
  }
  void Draw(uint8_t b, int32_t column, int32_t row) { measure.Draw(b, column, row); }
  void RowStart(int32_t row, int32_t offset) { measure.RowStart(row, offset); }
  MeasureSink measure;
  std::vector<Cell> examined;
};

struct DrawRecorder {
  void Examine(int32_t column, int32_t row) { examined.emplace_back(column, row); }
  void Draw(uint8_t, int32_t column, int32_t row) { draws.emplace_back(column, row); }
  void RowStart(int32_t, int32_t) {}
  std::vector<Cell> examined, draws;
};

// The document as a render sees it: at most 524288 bytes, ending at the
// first zero byte, with a line feed appended when it does not end with one.
std::string LoadDocument(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text(524288, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  text.resize(std::min(text.size(), text.find('\0')));
  if (text.empty() || text.back() != '\n') text += '\n';
  return text;
}

TEST(LayoutCorpus, BothPassesAgreeAndDrawInsideThePage) {
  const fs::path root = QP_CORPUS_DIR;
  if (!fs::is_directory(root)) GTEST_SKIP() << "no corpus at " << root;
  int files = 0;
  std::vector<int32_t> lineTable(kLineTableSize);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const fs::path& path = entry.path();
    const std::string name = path.filename().string();
    if (!entry.is_regular_file() || name == "SOURCES.md" || name == "README.md" ||
        path.string().find("_licences") != std::string::npos) {
      continue;
    }
    ++files;
    const std::string text = LoadDocument(path);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());

    MeasureRecorder pass1(lineTable.data());
    RunLayoutPass(bytes, length, pass1);
    DrawRecorder pass2;
    RunLayoutPass(bytes, length, pass2);
    const PageMeasure page = MeasureLayout(bytes, length, lineTable.data());

    SCOPED_TRACE(path.string());
    EXPECT_EQ(pass1.examined, pass2.examined);
    EXPECT_EQ(page.columnCount, pass1.measure.measure.columnCount);
    EXPECT_EQ(page.rowCount, pass1.measure.measure.rowCount);
    const auto outside = std::find_if(pass2.draws.begin(), pass2.draws.end(), [&](const Cell& c) {
      return c.first >= 0 && c.second >= 0 && (c.first >= page.columnCount || c.second >= page.rowCount);
    });
    EXPECT_TRUE(outside == pass2.draws.end())
        << "draw at " << outside->first << "," << outside->second << " outside "
        << page.columnCount << "x" << page.rowCount;
  }
  EXPECT_GT(files, 100);
}

}  // namespace
