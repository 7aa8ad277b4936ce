// The movie module's loader refuses a module file cut short (an interrupted
// copy or update of the program folder) before mapping it: mapped pages past
// a file's end would end the program with SIGBUS inside the loading.
#include <gtest/gtest.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/fichiers.h"
#include "platform/vidconv/chargeur_film.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

TEST(ChargeurFilm, AModuleCutShortIsRefusedWhereverTheCutFalls) {
  const std::string module = vcv::movie_module_path();
  const std::string octets = lire_fichier(module).value_or("");
  ASSERT_GT(octets.size(), sizeof(ElfW(Ehdr))) << module;
  EXPECT_EQ(vcv::movie_module_fault(module), "");

  ElfW(Ehdr) e;
  std::memcpy(&e, octets.data(), sizeof e);
  // Where the cut falls: the middle of the largest segment's file range.
  std::size_t milieu = 0, plus_grand = 0;
  for (int k = 0; k < e.e_phnum; ++k) {
    ElfW(Phdr) p;
    std::memcpy(&p, octets.data() + e.e_phoff + std::size_t(k) * sizeof p, sizeof p);
    if (p.p_type == PT_LOAD && p.p_filesz > plus_grand) {
      plus_grand = p.p_filesz;
      milieu = p.p_offset + p.p_filesz / 2;
    }
  }
  ASSERT_GT(plus_grand, 0u);
  const struct {
    std::size_t longueur;
    const char* raison;
  } coupes[] = {
      {0, "ELF header ends"},
      {20, "ELF header ends"},
      {e.e_phoff + sizeof(ElfW(Phdr)) + 10, "program headers end"},
      {milieu, "segments end"},
      {octets.size() - 1, "section headers end"},
  };
  const fs::path dossier = fs::temp_directory_path() / ("quorvel-module-" + std::to_string(::getpid()));
  fs::create_directories(dossier);
  const std::string copie = (dossier / "libquorvel_vidconv.so").string();
  for (const auto& c : coupes) {
    SCOPED_TRACE(c.longueur);
    ASSERT_TRUE(ecrire_fichier(copie, octets.substr(0, c.longueur)).empty());
    const std::string faute = vcv::movie_module_fault(copie);
    EXPECT_EQ(faute.rfind(copie + ": the file is cut short (its " + c.raison + " at byte ", 0), 0u) << faute;
    EXPECT_NE(faute.find("the file has " + std::to_string(c.longueur) + ")"), std::string::npos) << faute;
  }
  // What is not an ELF object, or cannot be read, is left to the loader to name.
  ASSERT_TRUE(ecrire_fichier(copie, "not a shared object, but long enough to hold an ELF header's sixty-four bytes")
                  .empty());
  EXPECT_EQ(vcv::movie_module_fault(copie), "");
  EXPECT_EQ(vcv::movie_module_fault((dossier / "absent.so").string()), "");
  EXPECT_EQ(vcv::movie_module_fault(dossier.string()), "");
  fs::remove_all(dossier);
}
