#pragma once
// The rows of the file list (lstEstado): one per shown entry of the current analysis, keyed by the
// entry's name. Rows are kept in one vector and handed to the view in batches, so that an analysis
// of 100,000 entries adds them without one view update per row.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QAbstractTableModel>
#include <QStringList>

#include "engine/AppView.h"

namespace tandrel {

class ImageList;

class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // images must outlive the model; it names the icons of the rows.
  explicit FileListModel(const ImageList& images, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // File, state, action, bytes.
  void SetHeaders(const QStringList& headers);

  void Clear();
  // A row whose key is already present is not added (the first one stays, as keyed rows do).
  void Add(const FileRow& row);
  // Shows the rows added since the last call; runs by itself once control returns to the event loop.
  void Flush();
  // Every row, shown or still waiting for Flush.
  int Count() const { return static_cast<int>(rows_.size()); }

  const FileRow* Find(std::string_view key) const;
  // The shown row (0-based); nullptr out of range.
  const FileRow* RowAt(int row) const {
    return row >= 0 && row < shown_ ? &rows_[static_cast<std::size_t>(row)] : nullptr;
  }
  // The key of a shown row (0-based); "" out of range.
  std::string KeyAt(int row) const;
  // false when no row has that key.
  bool SetArrowAndIcon(const std::string& key, const std::string& arrow, const std::string& icon);
  bool SetResult(const std::string& key, const std::string& icon, const std::string& state);

 private:
  int IndexOf(std::string_view key) const;
  void RowChanged(int row);

  const ImageList& images_;
  QStringList headers_;
  std::vector<FileRow> rows_;
  std::unordered_map<std::string, int> index_;
  int shown_ = 0;
  bool flushQueued_ = false;
};

}  // namespace tandrel
