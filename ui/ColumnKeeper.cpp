#include "ui/ColumnKeeper.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include <QEvent>
#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeView>

#include "ui/Twips.h"

namespace tandrel {

namespace {

constexpr int kMeasuredRows = 1000;

}  // namespace

ColumnKeeper::ColumnKeeper(QTreeView& view, std::vector<Column> columns)
    : QObject(&view),
      view_(view),
      viewport_(view.viewport()),
      columns_(std::move(columns)),
      dragged_(columns_.size(), 0) {
  QHeaderView* header = view_.header();
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(view_.fontMetrics().averageCharWidth() * 3);
  for (int c = 0; c < static_cast<int>(columns_.size()); ++c)
    header->setSectionResizeMode(c, QHeaderView::Interactive);
  connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!fitting_ && column < static_cast<int>(dragged_.size())) dragged_[column] = width;
  });
  viewport_->installEventFilter(this);
  // New rows may want more room; one fit after each batch, not one per row.
  if (QAbstractItemModel* model = view_.model()) {
    connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnKeeper::FitSoon);
    connect(model, &QAbstractItemModel::modelReset, this, &ColumnKeeper::FitSoon);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnKeeper::FitSoon);
  }
}

void ColumnKeeper::FitSoon() {
  if (fitQueued_) return;
  fitQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    fitQueued_ = false;
    Fit();
  });
}

bool ColumnKeeper::eventFilter(QObject* watched, QEvent* event) {
  // The viewport still sends events while the view is being destroyed, when view_ is no longer a
  // whole view: look at the event first, and compare with the viewport kept from the start.
  if (event->type() == QEvent::Resize && watched == viewport_) Fit();
  return QObject::eventFilter(watched, event);
}

int ColumnKeeper::MinimumWidth(int column) const {
  // The header's text is never cut, whatever the minimum in characters.
  const int chars = view_.fontMetrics().averageCharWidth() * columns_[column].minChars;
  return std::max(chars, view_.header()->sectionSizeHint(column));
}

int ColumnKeeper::WantedWidth(int column) const {
  // The first rows stand for all: a list of 100,000 rows is not measured row by row, and rows the
  // view has not laid out yet count as well.
  int content = 0;
  if (const QAbstractItemModel* model = view_.model()) {
    QStyleOptionViewItem option;
    option.initFrom(&view_);
    option.font = view_.font();
    option.fontMetrics = view_.fontMetrics();
    option.decorationSize = view_.iconSize();
    option.features = QStyleOptionViewItem::HasDisplay;
    const int rows = std::min(model->rowCount(), kMeasuredRows);
    for (int row = 0; row < rows; ++row) {
      const QModelIndex index = model->index(row, column);
      if (!index.data(Qt::DecorationRole).isNull())
        option.features |= QStyleOptionViewItem::HasDecoration;
      const QSize hint = view_.itemDelegateForIndex(index)->sizeHint(option, index);
      content = std::max(content, hint.width());
    }
  }
  return std::max({content, view_.header()->sectionSizeHint(column), MinimumWidth(column)});
}

void ColumnKeeper::Fit() {
  const int count = static_cast<int>(columns_.size());
  std::vector<int> width(count, 0);
  int left = view_.viewport()->width();
  std::vector<int> shrinking, filling;
  for (int c = 0; c < count; ++c) {
    if (dragged_[c] > 0) {
      width[c] = dragged_[c];
    } else if (columns_[c].room == Room::Content) {
      width[c] = WantedWidth(c);
    } else {
      (columns_[c].room == Room::Shrinks ? shrinking : filling).push_back(c);
      continue;
    }
    left -= width[c];
  }
  int fillMinimum = 0;
  for (int c : filling) fillMinimum += MinimumWidth(c);
  // The shrinking columns take their text's width when the filling ones keep their minimum;
  // otherwise they give way evenly, down to their own minimum.
  int wanted = 0;
  for (int c : shrinking) wanted += WantedWidth(c);
  const int forShrinking = std::max(0, left - fillMinimum);
  for (int c : shrinking) {
    const int share = wanted > 0 ? forShrinking * WantedWidth(c) / wanted : 0;
    width[c] = std::clamp(share, MinimumWidth(c), WantedWidth(c));
    left -= width[c];
  }
  // The filling columns share the rest by what their text wants.
  int fillWanted = 0;
  for (int c : filling) fillWanted += WantedWidth(c);
  for (int c : filling) {
    const int share = fillWanted > 0 ? left * WantedWidth(c) / fillWanted : left;
    width[c] = std::max(MinimumWidth(c), filling.size() == 1 ? left : share);
  }
  fitting_ = true;
  for (int c = 0; c < count; ++c) view_.setColumnWidth(c, width[c]);
  fitting_ = false;
}

std::string ColumnKeeper::Saved(double dpi) const {
  if (std::all_of(dragged_.begin(), dragged_.end(), [](int w) { return w == 0; })) return {};
  std::string text;
  for (std::size_t c = 0; c < dragged_.size(); ++c) {
    if (c > 0) text += ',';
    text += std::to_string(dragged_[c] > 0 ? PixelsToTwips(dragged_[c], dpi) : 0);
  }
  return text;
}

void ColumnKeeper::Restore(const std::string& text, double dpi) {
  std::vector<int> twips;
  std::istringstream in(text);
  std::string field;
  while (std::getline(in, field, ',')) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value < 0) return;
    twips.push_back(value);
  }
  if (twips.size() != dragged_.size()) return;
  for (std::size_t c = 0; c < twips.size(); ++c)
    dragged_[c] = twips[c] > 0 ? TwipsToPixels(twips[c], dpi) : 0;
  Fit();
}

}  // namespace tandrel
