#include "ui/WaitingFilesModel.h"

#include "ui/DialogText.h"

namespace tandrel {

int WaitingFilesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(files_.size());
}

int WaitingFilesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 2;
}

QVariant WaitingFilesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const WaitingFile& file = files_[static_cast<std::size_t>(index.row())];
  if (index.column() == 0) return Qs(file.name);
  const int word = static_cast<int>(file.what);
  return word < words_.size() ? words_[word] : QVariant();
}

QVariant WaitingFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= headers_.size()) {
    return {};
  }
  return headers_[section];
}

void WaitingFilesModel::SetTexts(const QStringList& headers, const QStringList& words) {
  headers_ = headers;
  words_ = words;
  Q_EMIT headerDataChanged(Qt::Horizontal, 0, 1);
}

void WaitingFilesModel::SetFiles(std::vector<WaitingFile> files) {
  beginResetModel();
  files_ = std::move(files);
  endResetModel();
}

}  // namespace tandrel
