#include "video/dialogue_fichier_video.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "video/codecs_video.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

}  // namespace

DialogueFichierVideo::DialogueFichierVideo(const platform::vcv::OutputSettings& reglages, const std::string& titre,
                                           QWidget* parent)
    : QDialog(parent), reglages_(reglages) {
  setWindowTitle(Q(titre));
  auto* formulaire = new QFormLayout;
  const std::string ligne =
      reglages.codec_set ? ligne_codec(reglages.container_family, reglages.codec) : std::string();
  formulaire->addRow("Codec:", new QLabel(ligne.empty() ? QString("(by file extension)") : Q(ligne)));
  formulaire->addRow("Container:", new QLabel(Q(reglages.container)));
  formulaire->addRow("Frame size:", new QLabel(QString("%1 x %2").arg(reglages.width).arg(reglages.height)));
  formulaire->addRow("Frames per second:", new QLabel(QString::number(reglages.frame_rate, 'g', 6)));
  formulaire->addRow("Frames:", new QLabel(QString::number(reglages.frames_in_list)));
  auto* fichier = new QLabel(Q(reglages.output_file));
  fichier->setTextInteractionFlags(Qt::TextSelectableByMouse);
  formulaire->addRow("Output file:", fichier);
  debit_ = new QSpinBox;
  debit_->setObjectName("debit");
  debit_->setRange(1, 100000);
  debit_->setSuffix(" KB/s");
  debit_->setValue(reglages.byte_rate > 0 ? reglages.byte_rate : 600);
  formulaire->addRow("Byte rate:", debit_);
  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* colonne = new QVBoxLayout(this);
  colonne->addLayout(formulaire);
  colonne->addWidget(boutons);
}

platform::vcv::OutputSettings DialogueFichierVideo::reglages() const {
  platform::vcv::OutputSettings r = reglages_;
  r.byte_rate = debit_->value();
  return r;
}

void installer_dialogue_fichier_video() {
  platform::vcv::set_output_dialog_hook([](platform::vcv::OutputSettings& s, const std::string& titre) {
    DialogueFichierVideo d(s, titre);
    if (d.exec() != QDialog::Accepted) return 0;
    s = d.reglages();
    return 1;
  });
}
