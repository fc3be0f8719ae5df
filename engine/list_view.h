#pragma once
// The backup list as the engine sees it: the operations it uses on the list
// view, which it does not own. backuplist/ implements them on the real
// control; tests may use a plain table. Rows and columns count from 0.
#include <string>
#include <vector>

class ListView {
 public:
  static constexpr int kColumnCount = 7;
  enum Column {
    kFileName = 0,
    kSequence = 1,
    kLastTime = 2,
    kLastSize = 3,
    kSizeChange = 4,
    kBackupPaths = 5,
    kSourcePath = 6,
  };

  virtual ~ListView() = default;
  virtual int rowCount() const = 0;
  int columnCount() const { return kColumnCount; }
  // Appends a row with this caption (column 0), icon 0, not ticked; returns its index.
  virtual int appendRow(const std::string& caption) = 0;
  virtual std::string cellText(int row, int column) const = 0;
  virtual void setCellText(int row, int column, const std::string& text) = 0;
  virtual bool isTicked(int row) const = 0;
  virtual void setTicked(int row, bool ticked) = 0;
  // 0: the ordinary icon; 1: the red one of the most recent backup.
  virtual void setIcon(int row, int image) = 0;
  virtual void deleteRow(int row) = 0;
  virtual void deleteAllRows() = 0;
  // Indices of the selected rows, ascending.
  virtual std::vector<int> selectedRows() const = 0;
  virtual void scrollIntoView(int row) = 0;
  virtual void focus() = 0;
};
