#include "ui/frmOPT.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Platform.h"
#include "core/Public.h"
#include "core/Text.h"
#include "engine/Session.h"
#include "ui/DialogText.h"
#include "ui/LanguageList.h"

namespace tandrel {

// The texts of this dialog are fixed: it must stay usable whatever language file is chosen, or
// when none can be read.
frmOPT::frmOPT(Session& session, MessageSink& mensajes, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName("frmOPT");
  setWindowTitle("OPTIONS");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  Combo1_ = new QComboBox(this);
  Combo1_->setObjectName("Combo1");
  auto* Label1 = new QLabel("Language:", this);
  Label1->setBuddy(Combo1_);
  form->addRow(Label1, Combo1_);
  Text1_ = new QLineEdit(this);
  Text1_->setObjectName("Text1");
  Text1_->setMinimumWidth(Text1_->fontMetrics().averageCharWidth() * 40);
  auto* Label2 = new QLabel("Database path:", this);
  Label2->setBuddy(Text1_);
  form->addRow(Label2, Text1_);
  layout->addLayout(form);
  Check1_ = new QCheckBox("Compact and repair database at exit", this);
  Check1_->setObjectName("Check1");
  layout->addWidget(Check1_);
  layout->addStretch(1);

  auto* buttons = new QDialogButtonBox(this);
  butOK_ = buttons->addButton("&Aceptar", QDialogButtonBox::AcceptRole);
  butOK_->setObjectName("butOK");
  butOK_->setDefault(true);
  butCancel_ = buttons->addButton("&Cancelar", QDialogButtonBox::RejectRole);
  butCancel_->setObjectName("butCancel");
  layout->addWidget(buttons);
  Combo1_->setFocus();  // taken when the dialog shows
  connect(butOK_, &QPushButton::clicked, this, &frmOPT::Guarda);
  connect(butCancel_, &QPushButton::clicked, this, &QDialog::reject);

  const auto idiomas = ListaIdiomas(JoinPath(session_.carpetaPrograma, "Languages"));
  if (!idiomas) {
    mensajes.ShowMessage(MessageIcon::Critical, kTitulo, "NO LANGUAGES AVAILABLE!");
  } else {
    for (const std::string& entrada : *idiomas) Combo1_->addItem(Qs(entrada));
  }
  // The first entry of the chosen code wins when two files carry it.
  Combo1_->setCurrentIndex(-1);
  const std::string actual = UpperAscii(session_.INI.Language);
  for (int i = 0; i < Combo1_->count(); ++i) {
    if (CodigoIdioma(Ss(Combo1_->itemText(i))) == actual) {
      Combo1_->setCurrentIndex(i);
      break;
    }
  }
  Text1_->setText(Qs(session_.INI.DB_DataSource));
  Check1_->setChecked(session_.INI.CompactDataBase);
}

void frmOPT::Guarda() {
  const int elegido = Combo1_->currentIndex();
  session_.INI.Language = elegido < 0 ? std::string() : CodigoIdioma(Ss(Combo1_->itemText(elegido)));
  session_.INI.DB_DataSource = Ss(Text1_->text());
  session_.INI.CompactDataBase = Check1_->isChecked();
  accept();
}

}  // namespace tandrel
