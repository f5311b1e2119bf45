#pragma once
// The options dialog: the language of the texts, the database path and compaction at exit. It
// changes the settings in memory only; the settings file is written when the program ends.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tandrel {

class MessageSink;
class Session;

class frmOPT : public QDialog {
  Q_OBJECT

 public:
  // Fills the language list and the fields from session.INI; when the language folder cannot be
  // listed, tells so through mensajes (before the dialog is shown). Both must outlive the dialog.
  frmOPT(Session& session, MessageSink& mensajes, QWidget* parent = nullptr);

 private:
  void Guarda();

  Session& session_;
  QComboBox* Combo1_ = nullptr;
  QLineEdit* Text1_ = nullptr;
  QCheckBox* Check1_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;
};

}  // namespace tandrel
