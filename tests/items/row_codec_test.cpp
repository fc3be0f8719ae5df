#include "engine/row_codec.h"

#include <gtest/gtest.h>

#include "tests/support/table_list_view.h"

namespace {

const std::string kSep = "\xA9\xAE\x3F\xA9\xAE";

SavedRow row(std::vector<std::string> cells, bool ticked) {
  SavedRow r;
  r.cells = std::move(cells);
  r.ticked = ticked;
  return r;
}

TEST(RowCodec, SeparatorIsItsFiveBytes) { EXPECT_EQ(std::string(kRowFieldSeparator), kSep); }

TEST(RowCodec, EncodesEveryFieldFollowedByTheSeparator) {
  std::vector<SavedRow> rows = {
      row({"a.txt", "3", "2016-03-01 14:23:05", "1.5 KB", "12 B", "D:\\bak\\a_3.txt", "D:\\a.txt"},
          true),
      row({"運.txt", "0", "", "", "", "", "D:\\運\\運.txt"}, false)};
  const std::string expected =
      "a.txt" + kSep + "3" + kSep + "2016-03-01 14:23:05" + kSep + "1.5 KB" + kSep + "12 B" +
      kSep + "D:\\bak\\a_3.txt" + kSep + "D:\\a.txt" + kSep + "1" + kSep + "\r\n" + "運.txt" +
      kSep + "0" + kSep + kSep + kSep + kSep + kSep + "D:\\運\\運.txt" + kSep + "0" + kSep + "\r\n";
  EXPECT_EQ(encodeRows(rows), expected);

  std::vector<SavedRow> back = decodeRows(expected);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].cells, rows[0].cells);
  EXPECT_TRUE(back[0].ticked);
  EXPECT_EQ(back[1].cells, rows[1].cells);
  EXPECT_FALSE(back[1].ticked);
}

TEST(RowCodec, ShortLinesGetEmptyCellsAndNoTick) {
  std::vector<SavedRow> rows = decodeRows("a.txt" + kSep + "5" + kSep + "\r\n");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].cells[0], "a.txt");
  EXPECT_EQ(rows[0].cells[1], "5");
  for (int c = 2; c < ListView::kColumnCount; ++c) EXPECT_EQ(rows[0].cells[c], "") << c;
  EXPECT_FALSE(rows[0].ticked);
}

TEST(RowCodec, ExtraFieldsAreIgnoredAndTheLastLineNeedsNoBreak) {
  std::string line;
  for (int c = 0; c < 7; ++c) line += "c" + std::to_string(c) + kSep;
  line += "1" + kSep + "extra" + kSep + "more" + kSep;
  std::vector<SavedRow> rows = decodeRows(line + "\r\n" + line);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].cells[6], "c6");
  EXPECT_TRUE(rows[1].ticked);
}

TEST(RowCodec, EmptyTextGivesNoRows) { EXPECT_TRUE(decodeRows("").empty()); }

TEST(RowCodec, ViewRoundTripKeepsCellsAndTicks) {
  TableListView view;
  view.appendRow("x");
  view.rows[0].cells = {"x", "1", "t", "s", "d", "p", "D:\\x"};
  view.rows[0].ticked = true;
  view.appendRow("y");
  view.rows[1].cells[6] = "D:\\y";

  TableListView restored;
  restored.appendRow("stale");
  fillView(restored, decodeRows(encodeRows(rowsOf(view))));
  ASSERT_EQ(restored.rowCount(), 2);
  EXPECT_EQ(restored.rows[0].cells, view.rows[0].cells);
  EXPECT_TRUE(restored.rows[0].ticked);
  EXPECT_EQ(restored.rows[1].cells, view.rows[1].cells);
  EXPECT_FALSE(restored.rows[1].ticked);
}

}  // namespace
