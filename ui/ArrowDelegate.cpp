#include "ui/ArrowDelegate.h"

#include <algorithm>

#include <QApplication>
#include <QStyle>

namespace tandrel {

namespace {

constexpr int kArrowChars = 8;

}  // namespace

QString ArrowDelegate::Shortened(const QString& text, const QFontMetrics& metrics,
                                 int width) const {
  if (metrics.horizontalAdvance(text) <= width) return text;
  if (usbDrive_.isEmpty() || !text.startsWith(usbDrive_) ||
      text.size() < usbDrive_.size() + kArrowChars) {
    return metrics.elidedText(text, Qt::ElideMiddle, width);
  }
  const QString arrow = text.mid(usbDrive_.size(), kArrowChars);
  const QString pc = text.mid(usbDrive_.size() + kArrowChars);
  // The drives share what the arrow leaves; a short one gives the rest to the other. The end of a
  // mount point names the stick or disk, so the ellipsis goes in front.
  const int rest = std::max(0, width - metrics.horizontalAdvance(arrow));
  const int usbWidth = metrics.horizontalAdvance(usbDrive_);
  const int pcWidth = metrics.horizontalAdvance(pc);
  int usbRoom = rest / 2;
  int pcRoom = rest - usbRoom;
  if (usbWidth < usbRoom) pcRoom += usbRoom - usbWidth;
  if (pcWidth < pcRoom) usbRoom += pcRoom - pcWidth;
  return metrics.elidedText(usbDrive_, Qt::ElideLeft, usbRoom) + arrow +
         metrics.elidedText(pc, Qt::ElideLeft, pcRoom);
}

void ArrowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
  option->text = Shortened(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
  option->textElideMode = Qt::ElideNone;
}

}  // namespace tandrel
