#include "ui/PeersDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/Peers.h"
#include "engine/Session.h"
#include "ui/DialogText.h"
#include "ui/ImageList.h"

namespace tandrel {

namespace {

enum Column { kComputer, kPcFolder, kLastSync, kNew, kChanged, kDeleted, kNote, kColumns };

QString Joined(const std::vector<std::string>& notes) {
  QStringList parts;
  for (const std::string& note : notes) parts << Qs(note);
  return parts.join(QStringLiteral(" "));
}

}  // namespace

struct PeersDialog::Counted {
  StickListing stick;
  std::vector<Peer> peers;
};

PeersDialog::PeersDialog(Session& session, AppView& view, const ImageList& images, QWidget* parent)
    : QDialog(parent),
      session_(session),
      view_(view),
      images_(images),
      counted_(std::make_unique<Counted>()) {
  setObjectName("PeersDialog");
  BuildControls();
  PonTextos();
  resize(760, 460);
}

PeersDialog::~PeersDialog() = default;

void PeersDialog::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  lblTask_ = PlainLabel(QString(), this);
  lblTask_->setObjectName("lblTask");
  QFont bold = lblTask_->font();
  bold.setBold(true);
  lblTask_->setFont(bold);
  lblIntro_ = WrappedLabel(QString(), this);
  lblNote_ = WrappedLabel(QString(), this);
  lblNote_->setObjectName("lblNote");
  lblNote_->hide();

  lstPeers_ = new QTreeWidget(this);
  lstPeers_->setObjectName("lstPeers");
  lstPeers_->setColumnCount(kColumns);
  lstPeers_->setRootIsDecorated(false);
  lstPeers_->setAllColumnsShowFocus(true);
  lstPeers_->setIconSize(QSize(16, 16));
  lstPeers_->header()->setStretchLastSection(true);
  const int widths[kColumns] = {130, 200, 140, 70, 90, 80, 160};
  int total = 0;
  for (int c = 0; c < kColumns; ++c) {
    lstPeers_->setColumnWidth(c, widths[c]);
    total += widths[c];
  }
  // Opens wide enough for every column: a list that needs scrolling sideways hides the counts.
  lstPeers_->setMinimumSize(total + 4, 130);

  lblWaiting_ = PlainLabel(QString(), this);
  lblWaiting_->setObjectName("lblWaiting");
  lstWaiting_ = new QTreeView(this);
  lstWaiting_->setObjectName("lstWaiting");
  lstWaiting_->setModel(&waiting_);
  lstWaiting_->setRootIsDecorated(false);
  lstWaiting_->setUniformRowHeights(true);
  lstWaiting_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstWaiting_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lstWaiting_->header()->setStretchLastSection(false);
  lstWaiting_->setColumnWidth(1, 120);
  lstWaiting_->setMinimumHeight(130);

  auto* buttons = new QDialogButtonBox(this);
  butClose_ = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
  butClose_->setObjectName("butClose");
  connect(butClose_, &QPushButton::clicked, this, &QDialog::reject);
  connect(lstPeers_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowWaiting(lstPeers_->indexOfTopLevelItem(item)); });

  layout->addWidget(lblTask_);
  layout->addWidget(lblIntro_);
  layout->addWidget(lblNote_);
  layout->addWidget(lstPeers_, 3);
  layout->addWidget(lblWaiting_);
  layout->addWidget(lstWaiting_, 2);
  layout->addWidget(buttons);
}

void PeersDialog::PonTextos() {
  auto w = [this](std::string_view key) { return Qs(session_.W(key)); };
  setWindowTitle(w("capPeers"));
  butClose_->setText(w("butClose"));
  lblIntro_->setText(w("lblPeersOf"));
  lstPeers_->setHeaderLabels({w("capComputer"), w("capPPC"), w("capLastSync"), w("capPeerNew"),
                              w("capPeerChanged"), w("capPeerDeleted"), w("capNote")});
  waiting_.SetTexts({w("capFile"), w("capWaiting")},
                    {w("wrdWaitNew"), w("wrdWaitChanged"), w("wrdWaitDeleted")});
}

void PeersDialog::Carga(int posicion) {
  lstPeers_->clear();
  waiting_.SetFiles({});
  lblWaiting_->clear();
  *counted_ = Counted{};
  StickListing& stick = counted_->stick;
  std::vector<Peer>& peers = counted_->peers;
  if (posicion < 1 || posicion > session_.Tareas.Count()) return;
  const clsTarea& tarea = session_.Tareas.ITem1(posicion);
  lblTask_->setText(Qs("#" + std::to_string(tarea.ID) + "  " + tarea.Descripcion + "  (" +
                       NativePath(tarea.Left) + ")"));

  std::string note;
  if (std::string error = FindPeers(session_, tarea, peers); !error.empty()) {
    note = error;
  } else if (peers.empty()) {
    note = session_.W("lblNoPeers");
  } else {
    stick = StickFilesOfTask(session_, view_, posicion);
    note = stick.Error();
    if (note.empty()) {
      for (Peer& peer : peers) CountWaiting(session_, stick, peer);
    }
  }
  lblNote_->setText(Qs(note));
  lblNote_->setVisible(!note.empty());

  const bool counted = stick.Error().empty();
  for (const Peer& peer : peers) {
    auto* row = new QTreeWidgetItem(lstPeers_);
    row->setText(kComputer, Qs(peer.host));
    // Another computer's folder, as that computer wrote it: its separators are its own.
    row->setText(kPcFolder, Qs(peer.tarea.Right));
    row->setText(kLastSync, Qs(LastSyncText(session_, peer.tarea.LastEXE)));
    if (counted) {
      row->setText(kNew, QString::number(peer.newFiles));
      row->setText(kChanged, QString::number(peer.changed));
      row->setText(kDeleted, QString::number(peer.deletions));
      // Nothing waiting looks like a task that is done; anything else like one still pending.
      row->setIcon(kComputer, images_.Item(peer.NothingWaiting() ? "OK" : "KO"));
    }
    for (int c : {kNew, kChanged, kDeleted}) row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    row->setText(kNote, Joined(peer.notes));
  }
  if (!peers.empty()) lstPeers_->setCurrentItem(lstPeers_->topLevelItem(0));
}

void PeersDialog::ShowWaiting(int row) {
  const std::vector<Peer>& peers = counted_->peers;
  if (row < 0 || row >= static_cast<int>(peers.size()) || !counted_->stick.Error().empty()) return;
  Peer peer = peers[static_cast<std::size_t>(row)];
  peer.notes.clear();
  std::vector<WaitingFile> files;
  CountWaiting(session_, counted_->stick, peer, &files);
  lstPeers_->setCurrentItem(lstPeers_->topLevelItem(row));
  lblWaiting_->setText(Qs(peer.host + ": " + peer.tarea.Right));
  waiting_.SetFiles(std::move(files));
}

}  // namespace tandrel
