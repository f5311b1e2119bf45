#include "ui/TaskList.h"


#include <QHeaderView>

#include "ui/ImageList.h"

namespace tandrel {

namespace {

enum Column { kId, kDescription, kState, kUsb, kPc, kLastSync, kColumns };
constexpr int kPositionRole = Qt::UserRole;  // the row's 1-based position in Tareas

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TaskList::TaskList(const ImageList& images, QWidget* parent) : QTreeWidget(parent), images_(images) {
  setColumnCount(kColumns);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAlternatingRowColors(true);
}

void TaskList::SetHeaders(const QStringList& headers) { setHeaderLabels(headers); }

void TaskList::AddRow(const TaskRow& row) {
  auto* item = new QTreeWidgetItem();
  item->setData(kId, kPositionRole, row.position);
  item->setText(kId, QString::number(row.id));
  item->setIcon(kId, images_.Item(row.icon));
  item->setText(kDescription, Q(row.description));
  item->setText(kState, Q(row.state));
  item->setText(kUsb, Q(row.usbFolder));
  item->setText(kPc, Q(row.pcFolder));
  item->setText(kLastSync, Q(row.lastSync));
  for (int c = kDescription; c < kColumns; ++c) item->setToolTip(c, item->text(c));
  addTopLevelItem(item);
}

bool TaskList::SetResult(int position, const std::string& icon, const std::string& state,
                         const std::string& lastSync) {
  QTreeWidgetItem* item = RowOfPosition(position);
  if (!item) return false;
  item->setIcon(kId, images_.Item(icon));
  item->setText(kState, Q(state));
  item->setText(kLastSync, Q(lastSync));
  return true;
}

int TaskList::PositionOf(const QTreeWidgetItem* item) {
  return item ? item->data(kId, kPositionRole).toInt() : 0;
}

QTreeWidgetItem* TaskList::RowOfPosition(int position) const {
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = topLevelItem(i);
    if (PositionOf(item) == position) return item;
  }
  return nullptr;
}

QTreeWidgetItem* TaskList::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  if (!selected.isEmpty()) return selected.front();
  if (currentItem()) return currentItem();
  return topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
}

}  // namespace tandrel
