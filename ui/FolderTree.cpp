#include "ui/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace tandrel {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

bool CanList(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::Fill);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!quiet_ && item != nullptr) Q_EMIT FolderChosen(item->data(0, kPathRole).toString());
  });
}

QTreeWidgetItem* FolderTree::NewItem(const QString& text, const QString& path) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setData(0, kPathRole, path);
  item->setData(0, kFilledRole, false);
  item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  // Whether a folder has subfolders is learnt when it is opened, not by listing every child.
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

bool FolderTree::SetRoot(const QString& root) {
  if (!CanList(root)) return false;
  quiet_ = true;
  clear();
  QTreeWidgetItem* top = NewItem(QDir::toNativeSeparators(root), root);
  addTopLevelItem(top);
  top->setExpanded(true);
  Select(top);
  quiet_ = false;
  return true;
}

QString FolderTree::Root() const {
  const QTreeWidgetItem* top = topLevelItem(0);
  return top != nullptr ? top->data(0, kPathRole).toString() : QString();
}

void FolderTree::Fill(QTreeWidgetItem* item) {
  if (item->data(0, kFilledRole).toBool()) return;
  item->setData(0, kFilledRole, true);
  const QDir folder(item->data(0, kPathRole).toString());
  const QStringList names =
      folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : names) item->addChild(NewItem(name, folder.filePath(name)));
  if (names.isEmpty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* FolderTree::ChildNamed(QTreeWidgetItem* item, const QString& name) {
  Fill(item);
  for (int i = 0; i < item->childCount(); ++i) {
    if (item->child(i)->text(0) == name) return item->child(i);
  }
  return nullptr;
}

void FolderTree::ShowFolder(const QString& folder) {
  QTreeWidgetItem* item = topLevelItem(0);
  if (item == nullptr) return;
  const QString root = QDir::cleanPath(Root());
  const QString target = QDir::cleanPath(folder);
  QString below;
  if (root == "/") {
    below = target.mid(1);
  } else if (target.startsWith(root + "/")) {
    below = target.mid(root.size() + 1);
  }
  quiet_ = true;
  for (const QString& part : below.split('/', Qt::SkipEmptyParts)) {
    QTreeWidgetItem* child = ChildNamed(item, part);
    if (child == nullptr) break;
    item->setExpanded(true);
    item = child;
  }
  Select(item);
  quiet_ = false;
}

void FolderTree::Select(QTreeWidgetItem* item) {
  setCurrentItem(item);
  scrollToItem(item);
}

QString FolderTree::CurrentFolder() const {
  const QTreeWidgetItem* item = currentItem();
  return item != nullptr ? item->data(0, kPathRole).toString() : QString();
}

}  // namespace tandrel
