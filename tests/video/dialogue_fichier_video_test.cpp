// The "Video file parameters" dialog shows the conversion's settings and hands
// back only the byte rate, and only on OK.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSpinBox>
#include <QTimer>

#include "video/codecs_video.h"
#include "video/dialogue_fichier_video.h"

namespace {

platform::vcv::OutputSettings reglages_test() {
  platform::vcv::OutputSettings s;
  s.codec_set = true;
  s.container_family = platform::vcv::kContainerMpeg;
  s.codec = 0;
  s.container = "MPEG";
  s.width = 400;
  s.height = 300;
  s.frame_rate = 30;
  s.byte_rate = 600;
  s.output_file = "/tmp/video1.mpg";
  s.frames_in_list = 360;
  return s;
}

TEST(DialogueFichierVideo, ShowsTheSettingsAndReturnsTheByteRateOnOkOnly) {
  DialogueFichierVideo d(reglages_test(), "Video file parameters");
  EXPECT_EQ(d.windowTitle(), "Video file parameters");
  QStringList textes;
  for (QLabel* l : d.findChildren<QLabel*>()) textes << l->text();
  EXPECT_TRUE(textes.contains("MPEG-1 standard"));
  EXPECT_TRUE(textes.contains("400 x 300"));
  EXPECT_TRUE(textes.contains("/tmp/video1.mpg"));
  EXPECT_TRUE(textes.contains("360"));
  auto* debit = d.findChild<QSpinBox*>("debit");
  ASSERT_TRUE(debit);
  EXPECT_EQ(debit->value(), 600);
  debit->setValue(900);
  EXPECT_EQ(d.reglages().byte_rate, 900);
  EXPECT_EQ(d.reglages().width, 400);

  // Through the layer: OK changes the converter's rate, Cancel runs nothing.
  installer_dialogue_fichier_video();
  for (bool ok : {true, false}) {
    const auto conv = platform::vcv::alloc();
    platform::vcv::set_resolution(conv, 64, 48);
    QTimer::singleShot(0, [ok] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dlg = qobject_cast<DialogueFichierVideo*>(w); dlg && dlg->isVisible()) {
          dlg->findChild<QSpinBox*>("debit")->setValue(700);
          ok ? dlg->accept() : dlg->reject();
        }
      }
    });
    EXPECT_EQ(platform::vcv::output_dlg(conv, 0, "Video file parameters", -1), ok ? 1 : 0);
    platform::vcv::free(conv);
  }
  platform::vcv::set_output_dialog_hook({});
}

// The dialog names the codec the converter was set to as the codec list does,
// for every row of the table, and says when the file's extension chooses.
TEST(DialogueFichierVideo, NamesTheConvertersCodecAsTheCodecListDoes) {
  namespace vcv = platform::vcv;
  QString montree;
  vcv::set_output_dialog_hook([&montree](vcv::OutputSettings& s, const std::string& titre) {
    DialogueFichierVideo d(s, titre);
    montree.clear();
    for (QLabel* l : d.findChildren<QLabel*>()) montree += l->text() + '\n';
    return 0;
  });
  const auto conv = vcv::alloc();
  for (const CodecVideo& c : codecs_video()) {
    SCOPED_TRACE(c.ligne);
    ASSERT_TRUE(vcv::set_codec(conv, c.conteneur, c.codec));
    vcv::output_dlg(conv, 0, "Video file parameters", -1);
    EXPECT_TRUE(montree.contains(QString(c.ligne) + '\n'));
  }
  vcv::free(conv);
  const auto sans_codec = vcv::alloc();
  vcv::output_dlg(sans_codec, 0, "Video file parameters", -1);
  EXPECT_TRUE(montree.contains("(by file extension)"));
  vcv::free(sans_codec);
  vcv::set_output_dialog_hook({});
}

}  // namespace
