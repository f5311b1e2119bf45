#pragma once
// One section of the file detail dialog: a file as one side holds it (or as the snapshot recorded
// it), with a note shown in place of the values when there is no file to show.
#include <QGroupBox>

class QFormLayout;
class QLabel;

namespace tandrel {

struct FileSideTexts {
  QString size;      // the size already as text ("1,234 bytes")
  QString creation;  // display form of the times
  QString modified;
  QString access;
  QString sync;      // only for a section made with a sync row
};

class FileSideBox : public QGroupBox {
  Q_OBJECT

 public:
  // withSync adds the time of the last synchronisation as the first row (the snapshot section).
  FileSideBox(const QString& name, bool withSync, QWidget* parent = nullptr);

  // Captions of the rows (each followed by " :") and of the note; sync is ignored without its row.
  void SetCaptions(const QString& size, const QString& creation, const QString& modified,
                   const QString& access, const QString& note, const QString& sync = {});
  void Fill(const FileSideTexts& values);
  // The note replaces nothing: the value labels simply stay empty.
  void ShowNote();
  // Values empty, note hidden: the state before a loading.
  void Clear();

  QLabel* note() const { return note_; }
  QLabel* sizeValue() const { return size_; }
  QLabel* creationValue() const { return creation_; }
  QLabel* modifiedValue() const { return modified_; }
  QLabel* accessValue() const { return access_; }
  QLabel* syncValue() const { return sync_; }

 private:
  QLabel* AddRow(QFormLayout* form, QLabel*& caption, const QString& name);

  QFormLayout* form_ = nullptr;
  QLabel* sizeCaption_ = nullptr;
  QLabel* creationCaption_ = nullptr;
  QLabel* modifiedCaption_ = nullptr;
  QLabel* accessCaption_ = nullptr;
  QLabel* syncCaption_ = nullptr;
  QLabel* size_ = nullptr;
  QLabel* creation_ = nullptr;
  QLabel* modified_ = nullptr;
  QLabel* access_ = nullptr;
  QLabel* sync_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace tandrel
