// The program starts without the codec libraries: the main window comes up,
// and the movie module with them is loaded only when a movie is made or read.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>
#include <string>
#include <vector>

#include "platform/vidconv/chargeur_film.h"
#include "tests/app/programme_test_support.h"

namespace {

// The shared objects mapped in this process whose names hold one of `noms`.
std::vector<std::string> bibliotheques_chargees(const std::vector<std::string>& noms) {
  std::vector<std::string> trouvees;
  std::ifstream maps("/proc/self/maps");
  for (std::string ligne; std::getline(maps, ligne);)
    for (const std::string& n : noms)
      if (ligne.find(n) != std::string::npos) trouvees.push_back(ligne.substr(ligne.find('/')));
  return trouvees;
}

}  // namespace

TEST(StartUp, TheMainWindowComesUpWithoutTheCodecLibraries) {
  if (platform::vcv::movie_module_loaded()) GTEST_SKIP() << "an earlier test of this program loaded the movie module";
  const std::vector<std::string> codecs = {"libavcodec", "libavformat", "libswscale", "libavutil", "libquorvel_vidconv"};
  // Nothing links them: they are not there before the window either.
  EXPECT_EQ(bibliotheques_chargees(codecs), std::vector<std::string>{});
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  QCoreApplication::processEvents();
  p.w->Timer2Timer();
  EXPECT_FALSE(platform::vcv::movie_module_loaded());
  EXPECT_EQ(bibliotheques_chargees(codecs), std::vector<std::string>{});
  EXPECT_EQ(platform::vcv::movie_module_error(), "");
}
