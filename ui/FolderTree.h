#pragma once
// A folder tree below one root, filled branch by branch as the user opens it: a drive with a
// hundred thousand folders costs one listing per opened folder, and the tree never waits for a
// background thread (what it shows after a call is what the disk held at that call).
#include <QTreeWidget>

namespace tandrel {

class FolderTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // Shows the folders below root, with the root itself as the one top item, selected. False, with
  // the tree left as it was, when root is not a folder that can be listed.
  bool SetRoot(const QString& root);
  QString Root() const;

  // Opens the branches from the root down to folder and selects the deepest one that exists.
  void ShowFolder(const QString& folder);
  // The full path of the selected folder; "" when none is selected.
  QString CurrentFolder() const;

 Q_SIGNALS:
  // The user selected a folder (by mouse or keyboard); calls of this class's own never send it.
  void FolderChosen(const QString& path);

 private:
  QTreeWidgetItem* NewItem(const QString& text, const QString& path);
  void Fill(QTreeWidgetItem* item);
  QTreeWidgetItem* ChildNamed(QTreeWidgetItem* item, const QString& name);
  void Select(QTreeWidgetItem* item);

  bool quiet_ = false;
};

}  // namespace tandrel
