// The render tool writes the same PNG and statistics for the same arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

std::string lire(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

TEST(RenderTool, WritesAReproduciblePictureAndStatistics) {
  const auto dir = std::filesystem::temp_directory_path() / ("quorvel_outil_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string outil = std::string(QUORVEL_PROGRAM_DIR) + "/quorvel_render_tool";
  auto lancer = [&](const std::string& png, const std::string& stats) {
    const std::string cmd = outil + " --degree 8 --key 1234 --size 640x480 --view horizon=1 --out " +
                            (dir / png).string() + " --stats " + (dir / stats).string();
    return std::system(cmd.c_str());
  };
  ASSERT_EQ(lancer("a.png", "s.txt"), 0);
  ASSERT_EQ(lancer("b.png", "t.txt"), 0);
  const std::string a = lire(dir / "a.png");
  ASSERT_GT(a.size(), 640u * 480u * 3u);
  EXPECT_EQ(a.substr(1, 3), "PNG");
  // Width and height in the header.
  EXPECT_EQ((unsigned char)a[16 + 2] * 256 + (unsigned char)a[16 + 3], 640);
  EXPECT_EQ((unsigned char)a[20 + 2] * 256 + (unsigned char)a[20 + 3], 480);
  EXPECT_EQ(a, lire(dir / "b.png"));
  const std::string s = lire(dir / "s.txt");
  EXPECT_NE(s.find("altitude_maxi="), std::string::npos);
  EXPECT_EQ(s, lire(dir / "t.txt"));
  EXPECT_NE(std::system((outil + " --shape none --degree 7 2>/dev/null").c_str()), 0);
  // Facet counters of the terrain pass.
  const std::string compteurs = (dir / "c.txt").string();
  ASSERT_EQ(std::system((outil + " --degree 7 --key 7 --size 320x240 --counters " + compteurs).c_str()), 0);
  const std::string c = lire(compteurs);
  for (const char* cle : {"facettes=", "cretes=", "eau=", "sauts_occupation=", "sous_reseaux=", "sous_facettes="})
    EXPECT_NE(c.find(cle), std::string::npos) << cle;
  EXPECT_NE(c.substr(0, 11), "facettes=0\n");  // the first line counts every polygon
  std::filesystem::remove_all(dir);
}
