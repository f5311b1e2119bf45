#include "ui/FileSideBox.h"

#include <algorithm>

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/DialogText.h"

namespace tandrel {

namespace {

// A wrapped note that is given its size once, when it is shown (ShowNote): the layout never asks
// it for a height that depends on its width, which three sections side by side get wrong (rows of
// the other sections squeezed, or a dialog narrower than its own minimum).
class NoteLabel : public QLabel {
 public:
  explicit NoteLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
  }
  bool hasHeightForWidth() const override { return false; }
};

}  // namespace

FileSideBox::FileSideBox(const QString& name, bool withSync, QWidget* parent) : QGroupBox(parent) {
  setObjectName(name);
  auto* column = new QVBoxLayout(this);
  auto* form = form_ = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  column->addLayout(form);
  if (withSync) sync_ = AddRow(form, syncCaption_, name + "Sync");
  size_ = AddRow(form, sizeCaption_, name + "Size");
  creation_ = AddRow(form, creationCaption_, name + "Creation");
  modified_ = AddRow(form, modifiedCaption_, name + "Modified");
  access_ = AddRow(form, accessCaption_, name + "Access");
  note_ = new NoteLabel(this);
  note_->setObjectName(name + "Note");
  note_->setStyleSheet("color: #a03000;");
  note_->hide();
  column->addWidget(note_);
  column->addStretch(1);
}

QLabel* FileSideBox::AddRow(QFormLayout* form, QLabel*& caption, const QString& name) {
  caption = PlainLabel({}, this);
  auto* value = PlainLabel({}, this);
  value->setObjectName(name);
  value->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(caption, value);
  return value;
}

void FileSideBox::SetCaptions(const QString& size, const QString& creation, const QString& modified,
                              const QString& access, const QString& note, const QString& sync) {
  sizeCaption_->setText(size + " :");
  creationCaption_->setText(creation + " :");
  modifiedCaption_->setText(modified + " :");
  accessCaption_->setText(access + " :");
  if (syncCaption_ != nullptr) syncCaption_->setText(sync + " :");
  note_->setText(note);
}

void FileSideBox::Fill(const FileSideTexts& values) {
  size_->setText(values.size);
  creation_->setText(values.creation);
  modified_->setText(values.modified);
  access_->setText(values.access);
  if (sync_ != nullptr) sync_->setText(values.sync);
}

void FileSideBox::ShowNote() {
  const int width = std::max(form_->sizeHint().width(), fontMetrics().averageCharWidth() * 24);
  note_->setFixedSize(width, note_->heightForWidth(width));
  note_->show();
}

void FileSideBox::Clear() {
  Fill({});
  note_->hide();
}

}  // namespace tandrel
