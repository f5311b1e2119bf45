#pragma once
// The file list as the user orders and narrows it: sorted by a column (the analysis order until a
// header is clicked, and again after each new analysis) and showing only the rows whose name
// contains a typed text. Neither runs the analysis again; the filter buttons still decide which
// rows the list holds.
#include <string>

#include <QSortFilterProxyModel>

namespace tandrel {

class FileListModel;

class FileListProxy : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  // files must outlive the proxy.
  explicit FileListProxy(FileListModel& files, QObject* parent = nullptr);

  // Rows whose name contains text, without regard to case; "" shows every row.
  void SetNameFilter(const QString& text);
  // Back to the analysis order.
  void UnSort();

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

 private:
  const FileListModel& files_;
  std::string needle_;  // case-folded
};

}  // namespace tandrel
