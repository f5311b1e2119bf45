#include "ui/FileListModel.h"

#include <QMetaObject>

#include "ui/ImageList.h"

namespace tandrel {

namespace {

enum Column { kFile, kState, kAction, kBytes, kColumns };

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

FileListModel::FileListModel(const ImageList& images, QObject* parent)
    : QAbstractTableModel(parent), images_(images) {
  for (int i = 0; i < kColumns; ++i) headers_ << QString();
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_) return {};
  const FileRow& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      switch (index.column()) {
        case kFile: return Q(row.key);
        case kState: return Q(row.state);
        case kAction: return Q(row.arrow);
        case kBytes: return Q(row.bytes);
        default: return {};
      }
    case Qt::DecorationRole:
      if (index.column() == kFile) return images_.Item(row.icon);
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == kBytes) return int(Qt::AlignRight | Qt::AlignVCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
  if (role == Qt::DisplayRole) return headers_[section];
  if (role == Qt::TextAlignmentRole && section == kBytes)
    return int(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

void FileListModel::SetHeaders(const QStringList& headers) {
  for (int i = 0; i < kColumns && i < headers.size(); ++i) headers_[i] = headers[i];
  Q_EMIT headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

void FileListModel::Clear() {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  index_.clear();
  shown_ = 0;
  endResetModel();
}

void FileListModel::Add(const FileRow& row) {
  if (!index_.try_emplace(row.key, static_cast<int>(rows_.size())).second) return;
  rows_.push_back(row);
  if (!flushQueued_) {
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, &FileListModel::Flush, Qt::QueuedConnection);
  }
}

void FileListModel::Flush() {
  flushQueued_ = false;
  const int total = Count();
  if (total <= shown_) return;
  beginInsertRows(QModelIndex(), shown_, total - 1);
  shown_ = total;
  endInsertRows();
}

int FileListModel::IndexOf(std::string_view key) const {
  auto it = index_.find(std::string(key));
  return it == index_.end() ? -1 : it->second;
}

const FileRow* FileListModel::Find(std::string_view key) const {
  const int i = IndexOf(key);
  return i < 0 ? nullptr : &rows_[static_cast<std::size_t>(i)];
}

std::string FileListModel::KeyAt(int row) const {
  if (row < 0 || row >= shown_) return {};
  return rows_[static_cast<std::size_t>(row)].key;
}

void FileListModel::RowChanged(int row) {
  // A row still waiting for Flush is not known to the view yet.
  if (row < shown_) Q_EMIT dataChanged(index(row, kFile), index(row, kColumns - 1));
}

bool FileListModel::SetArrowAndIcon(const std::string& key, const std::string& arrow,
                                    const std::string& icon) {
  const int i = IndexOf(key);
  if (i < 0) return false;
  rows_[static_cast<std::size_t>(i)].arrow = arrow;
  rows_[static_cast<std::size_t>(i)].icon = icon;
  RowChanged(i);
  return true;
}

bool FileListModel::SetResult(const std::string& key, const std::string& icon,
                              const std::string& state) {
  const int i = IndexOf(key);
  if (i < 0) return false;
  rows_[static_cast<std::size_t>(i)].icon = icon;
  rows_[static_cast<std::size_t>(i)].state = state;
  RowChanged(i);
  return true;
}

}  // namespace tandrel
