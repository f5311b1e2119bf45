#pragma once
// Keeps the column widths of a list: each column as wide as its header and its text need, the
// columns that fill sharing what is left (never below a readable minimum), and the widths the user
// drags kept as they were dragged. The user's widths travel through the settings as text.
#include <string>
#include <vector>

#include <QObject>

class QTreeView;
class QWidget;

namespace tandrel {

class ColumnKeeper : public QObject {
  Q_OBJECT

 public:
  enum class Room {
    Content,  // as wide as its header and its text
    Shrinks,  // as its text, but gives way down to its minimum before a filling column does
    Fills,    // shares what the others leave
  };
  struct Column {
    Room room;
    int minChars;  // the readable minimum, in average characters of the list's font
  };
  // view must outlive the keeper (a child of the view), and have its model set.
  ColumnKeeper(QTreeView& view, std::vector<Column> columns);

  // Sets every width the user has not dragged; runs by itself when the list changes its width.
  void Fit();
  // The dragged widths in twips, "0" for a fitted column ("0,1500,0,0"); "" when none was dragged.
  std::string Saved(double dpi) const;
  // Takes widths written by Saved; a text that is not such a list is passed over.
  void Restore(const std::string& text, double dpi);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitSoon();
  int MinimumWidth(int column) const;
  int WantedWidth(int column) const;

  QTreeView& view_;
  QWidget* viewport_;
  std::vector<Column> columns_;
  std::vector<int> dragged_;  // pixels; 0 for a fitted column
  bool fitting_ = false;
  bool fitQueued_ = false;
};

}  // namespace tandrel
