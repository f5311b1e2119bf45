#pragma once
// The task list (lstTareas): one row per task of this computer, keyed "K" & the task's 1-based
// position in Tareas. The key, not the row's place in the list, names the task: deleting a row
// leaves the other rows' positions valid.
#include <string>

#include <QTreeWidget>

#include "engine/AppView.h"

namespace tandrel {

class ImageList;

class TaskList : public QTreeWidget {
  Q_OBJECT

 public:
  // images must outlive the list.
  TaskList(const ImageList& images, QWidget* parent = nullptr);

  // ID, description, state, USB folder, PC folder, last synchronisation.
  void SetHeaders(const QStringList& headers);

  void AddRow(const TaskRow& row);
  // false when no row carries the position.
  bool SetResult(int position, const std::string& icon, const std::string& state,
                 const std::string& lastSync);
  int Count() const { return topLevelItemCount(); }

  // The 1-based position in Tareas the row stands for; 0 for no row.
  static int PositionOf(const QTreeWidgetItem* item);
  QTreeWidgetItem* RowOfPosition(int position) const;
  // The selected row, or the current one; with rows but neither, the first row (as a list that
  // always has a selected item behaves). nullptr only for an empty list.
  QTreeWidgetItem* SelectedRow() const;
  int SelectedPosition() const { return PositionOf(SelectedRow()); }

 private:
  const ImageList& images_;
};

}  // namespace tandrel
