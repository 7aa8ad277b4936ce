// The program starts without the codec libraries and the print system's: the
// movie module is loaded only when a movie is made or read, the printer made
// only when printing asks for it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/vidconv/chargeur_film.h"
#include "tests/app/programme_test_support.h"

namespace {

// The shared objects mapped in this process whose names hold one of `noms`.
std::set<std::string> bibliotheques_chargees(const std::vector<std::string>& noms) {
  std::set<std::string> trouvees;
  std::ifstream maps("/proc/self/maps");
  for (std::string ligne; std::getline(maps, ligne);)
    for (const std::string& n : noms)
      if (ligne.find(n) != std::string::npos) trouvees.insert(ligne.substr(ligne.find('/')));
  return trouvees;
}

}  // namespace

TEST(StartUp, TheMainWindowComesUpWithoutTheCodecAndPrintLibraries) {
  const std::vector<std::string> lourdes = {"libavcodec", "libavformat", "libswscale",
                                            "libavutil",  "libquorvel_vidconv", "libcups"};
  // Alone in its process, as the test suite runs it, nothing has loaded them;
  // after other tests of this program, only what the start adds counts.
  const std::set<std::string> avant = bibliotheques_chargees(lourdes);
  const bool module_avant = platform::vcv::movie_module_loaded();
  Programme p;
  ASSERT_TRUE(p.demarrer(options_exemple()));
  QCoreApplication::processEvents();
  p.w->Timer2Timer();
  EXPECT_EQ(bibliotheques_chargees(lourdes), avant);
  EXPECT_EQ(platform::vcv::movie_module_loaded(), module_avant);
  EXPECT_EQ(platform::vcv::movie_module_error(), "");
}
