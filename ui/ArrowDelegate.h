#pragma once
// Draws the file list's action texts (USB drive, eight-character arrow, PC drive) in a column too
// narrow for them: the drives are shortened from the left with an ellipsis, the arrow never.
#include <QStyledItemDelegate>

namespace tandrel {

class ArrowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The USB drive every action text begins with, as shown.
  void SetUsbDrive(const QString& drive) { usbDrive_ = drive; }

  // The text as drawn in width pixels with metrics; the whole text when it fits.
  QString Shortened(const QString& text, const QFontMetrics& metrics, int width) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  QString usbDrive_;
};

}  // namespace tandrel
