#pragma once
// A plain table behind the ListView operations, for tests of the engine
// without a window.
#include <string>
#include <vector>

#include "engine/list_view.h"

class TableListView : public ListView {
 public:
  struct Row {
    std::vector<std::string> cells = std::vector<std::string>(kColumnCount);
    bool ticked = false;
    int icon = 0;
    bool selected = false;
  };

  int rowCount() const override { return static_cast<int>(rows.size()); }
  int appendRow(const std::string& caption) override {
    rows.emplace_back();
    rows.back().cells[0] = caption;
    return rowCount() - 1;
  }
  std::string cellText(int row, int column) const override { return rows.at(row).cells.at(column); }
  void setCellText(int row, int column, const std::string& text) override {
    rows.at(row).cells.at(column) = text;
  }
  bool isTicked(int row) const override { return rows.at(row).ticked; }
  void setTicked(int row, bool ticked) override { rows.at(row).ticked = ticked; }
  void setIcon(int row, int image) override { rows.at(row).icon = image; }
  void deleteRow(int row) override { rows.erase(rows.begin() + row); }
  void deleteAllRows() override { rows.clear(); }
  std::vector<int> selectedRows() const override {
    std::vector<int> out;
    for (int i = 0; i < rowCount(); ++i)
      if (rows[i].selected) out.push_back(i);
    return out;
  }
  void scrollIntoView(int row) override { lastScrolled = row; }
  void focus() override { ++focusCount; }

  std::vector<Row> rows;
  int lastScrolled = -1;
  int focusCount = 0;
};
