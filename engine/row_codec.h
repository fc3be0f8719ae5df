#pragma once
// The list's rows as stored under "表项": for each row, every cell's text
// and then the tick ("1" or "0"), each followed by the separator "┊?┊", and
// the row ended by CR LF.
#include <string>
#include <vector>

#include "engine/list_view.h"

struct SavedRow {
  std::vector<std::string> cells = std::vector<std::string>(ListView::kColumnCount);
  bool ticked = false;
};

// The five bytes A9 AE 3F A9 AE.
extern const char* const kRowFieldSeparator;

std::string encodeRows(const std::vector<SavedRow>& rows);

// A line with too few fields gets empty cells and no tick; fields beyond the
// cells and the tick are ignored.
std::vector<SavedRow> decodeRows(const std::string& text);

// The rows of a list view, and the list view rebuilt from rows.
std::vector<SavedRow> rowsOf(const ListView& view);
void fillView(ListView& view, const std::vector<SavedRow>& rows);
