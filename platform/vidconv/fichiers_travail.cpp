// The movies' work files left behind: a conversion removes its work file on
// every path out, but not when the process is ended during it. Needs no codec
// library, so the program calls it without loading the module.
#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

void remove_work_files(const std::string& path) {
  // The work file is made beside the file the path names (see convert).
  const std::optional<std::string> cible = cible_ecriture(path);
  effacer_provisoires(cible.value_or(path), kWorkFileEnding);
}

}  // namespace platform::vcv
