#pragma once
// The other computers of a task's USB folder: each task sharing it, its computer, PC folder and
// last synchronisation, and what its next run would carry from the stick; a double-click on one
// lists those files.
#include <memory>

#include <QDialog>

#include "ui/WaitingFilesModel.h"

class QLabel;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace tandrel {

class AppView;
class ImageList;
class Session;

class PeersDialog : public QDialog {
  Q_OBJECT

 public:
  // session, view and images must outlive the dialog.
  PeersDialog(Session& session, AppView& view, const ImageList& images, QWidget* parent = nullptr);
  ~PeersDialog() override;

  // Finds the peers of the task at 1-based position posicion in Tareas and counts what waits for
  // each; a stick folder that cannot be listed is shown as a note, with no counts.
  void Carga(int posicion);
  // Lists the files waiting for the peer in row (0-based) of the list.
  void ShowWaiting(int row);

 private:
  void BuildControls();
  void PonTextos();

  Session& session_;
  AppView& view_;
  const ImageList& images_;
  // The stick's files and the peers as last counted, kept for the lists of waiting files. The
  // engine's collections stay out of this header, which Qt's meta-object compiler reads.
  struct Counted;
  std::unique_ptr<Counted> counted_;
  WaitingFilesModel waiting_;

  QLabel* lblTask_ = nullptr;
  QLabel* lblIntro_ = nullptr;
  QLabel* lblNote_ = nullptr;
  QTreeWidget* lstPeers_ = nullptr;
  QLabel* lblWaiting_ = nullptr;
  QTreeView* lstWaiting_ = nullptr;
  QPushButton* butClose_ = nullptr;
};

}  // namespace tandrel
