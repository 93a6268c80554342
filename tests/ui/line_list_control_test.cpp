// The line list's operations written once, over a view that keeps its lines in a
// vector: no display, no window system.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/line_list_view.h"

namespace {

class RecordingLines final : public LineListView {
 public:
  int64_t Count() const override { return std::ssize(lines); }
  void Insert(int64_t at, const std::u16string& text) override {
    ASSERT_TRUE(at >= 0 && at <= Count()) << at;
    lines.insert(lines.begin() + at, text);
  }
  void Clear() override { lines.clear(); }
  std::u16string Line(int64_t row) const override { return lines.at(static_cast<size_t>(row)); }
  int64_t Selected() const override { return selected; }

  std::vector<std::u16string> lines;
  int64_t selected = -1;
};

TEST(LineListControl, LinesGoWhereAskedBeyondTheEndAppendAndMissingLinesReadEmpty) {
  ControlRecord record;
  auto owned = std::make_unique<RecordingLines>();
  RecordingLines& view = *owned;
  LineListStart(record, std::move(owned));
  const ControlOps& ops = kLineListOps;
  EXPECT_EQ(ops.get_state(record), -1);
  EXPECT_EQ(ops.get_text(record), u"");
  for (const auto& [at, text] : std::vector<std::pair<int64_t, std::u16string>>{
           {-1, u"image list"}, {99, u"last"}, {1, u"middle"}, {0, u"first"}, {4, u"end"}, {-7, u"after"}})
    ops.add_item(record, at, text, 0);
  EXPECT_EQ(view.lines, (std::vector<std::u16string>{u"first", u"image list", u"middle", u"last", u"end", u"after"}));
  EXPECT_EQ(ops.get_item_text(record, 2, 0), u"middle");
  for (const int64_t row : {-1, 6, 1000}) EXPECT_EQ(ops.get_item_text(record, row, 0), u"") << row;
  view.selected = 3;
  EXPECT_EQ(ops.get_state(record), 3);
  EXPECT_EQ(ops.get_text(record), u"last");
  ops.clear_items(record);
  EXPECT_TRUE(view.lines.empty());
  // A record that has no view yet (its control still being made) answers as empty.
  ControlRecord bare;
  ops.add_item(bare, 0, u"x", 0);
  EXPECT_EQ(ops.get_state(bare), -1);
  EXPECT_EQ(ops.get_text(bare), u"");
}

}  // namespace
