#pragma once
// The files waiting for one other computer, as a list model: a computer that never synchronised a
// large stick folder has every file waiting, far too many for one widget item each.
#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "engine/WaitingFile.h"

namespace tandrel {

class WaitingFilesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // File and waiting column headers, and the words for new, changed and deleted.
  void SetTexts(const QStringList& headers, const QStringList& words);
  void SetFiles(std::vector<WaitingFile> files);

 private:
  QStringList headers_;
  QStringList words_;
  std::vector<WaitingFile> files_;
};

}  // namespace tandrel
