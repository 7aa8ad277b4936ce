// The "Video file parameters" dialog the movie-writing layer shows before a
// conversion with details: it shows the conversion's settings and lets the
// user change the byte rate only.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "platform/vidconv/conversion_video.h"

class QSpinBox;

class DialogueFichierVideo : public QDialog {
  Q_OBJECT

 public:
  DialogueFichierVideo(const platform::vcv::OutputSettings& reglages, const std::string& titre,
                       QWidget* parent = nullptr);
  // The settings with the byte rate as edited.
  platform::vcv::OutputSettings reglages() const;

 private:
  platform::vcv::OutputSettings reglages_;
  QSpinBox* debit_ = nullptr;
};

// Installs the dialog as the layer's hook (at start-up).
void installer_dialogue_fichier_video();
