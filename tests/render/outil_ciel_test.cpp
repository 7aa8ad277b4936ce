// The render tool gives the same picture twice for a view with horizon,
// clouds, reflection, waves and cast shadows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

TEST(RenderTool, SkySeaAndShadowsAreReproducible) {
  const auto dir = std::filesystem::temp_directory_path() / ("quorvel_outil_ciel_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string outil = std::string(QUORVEL_PROGRAM_DIR) + "/quorvel_render_tool";
  auto lancer = [&](const std::string& png) {
    const std::string cmd = outil +
                            " --degree 9 --key 7 --view horizon=1 --view type_ciel=1 --view reflet=1"
                            " --view agitation_mer=3 --view ombre_portee=1 --out " +
                            (dir / png).string();
    return std::system(cmd.c_str());
  };
  ASSERT_EQ(lancer("a.png"), 0);
  ASSERT_EQ(lancer("b.png"), 0);
  auto lire = [](const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  };
  const std::string a = lire(dir / "a.png");
  EXPECT_GT(a.size(), 640u * 480u * 3u);
  EXPECT_EQ(a, lire(dir / "b.png"));
  std::filesystem::remove_all(dir);
}
