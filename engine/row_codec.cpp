#include "engine/row_codec.h"

#include "common/number.h"
#include "common/text.h"

// "┊?┊" in GBK, spelled as bytes so that every build, whatever its
// execution charset, stores the same separator.
const char* const kRowFieldSeparator = "\xA9\xAE?\xA9\xAE";

std::string encodeRows(const std::vector<SavedRow>& rows) {
  std::string out;
  for (const SavedRow& row : rows) {
    for (int column = 0; column < ListView::kColumnCount; ++column) {
      if (static_cast<std::size_t>(column) < row.cells.size()) out += row.cells[column];
      out += kRowFieldSeparator;
    }
    out += row.ticked ? "1" : "0";
    out += kRowFieldSeparator;
    out += "\r\n";
  }
  return out;
}

std::vector<SavedRow> decodeRows(const std::string& text) {
  std::vector<SavedRow> rows;
  for (const std::string& line : text::split(text, "\r\n")) {
    std::vector<std::string> pieces = text::split(line, kRowFieldSeparator);
    pieces.resize(ListView::kColumnCount + 2);
    SavedRow row;
    for (int column = 0; column < ListView::kColumnCount; ++column) row.cells[column] = pieces[column];
    row.ticked = number::leadingInteger(pieces[ListView::kColumnCount]) == 1;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<SavedRow> rowsOf(const ListView& view) {
  std::vector<SavedRow> rows(static_cast<std::size_t>(view.rowCount()));
  for (int r = 0; r < view.rowCount(); ++r) {
    for (int column = 0; column < ListView::kColumnCount; ++column)
      rows[r].cells[column] = view.cellText(r, column);
    rows[r].ticked = view.isTicked(r);
  }
  return rows;
}

void fillView(ListView& view, const std::vector<SavedRow>& rows) {
  view.deleteAllRows();
  for (const SavedRow& saved : rows) {
    int r = view.appendRow("");
    for (int column = 0; column < ListView::kColumnCount; ++column)
      view.setCellText(r, column, saved.cells[column]);
    view.setTicked(r, saved.ticked);
  }
}
