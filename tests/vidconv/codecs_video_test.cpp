// The codec table: every row says its container, its codec and its movie
// extension, in agreement, so that a row added without them fails here.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "video/codecs_video.h"

namespace {

namespace vcv = platform::vcv;

TEST(CodecsVideo, EveryRowCarriesItsContainerCodecAndExtension) {
  const auto table = codecs_video();
  ASSERT_FALSE(table.empty());
  std::set<std::string> lignes;
  for (std::size_t k = 0; k < table.size(); ++k) {
    const CodecVideo& c = table[k];
    SCOPED_TRACE(c.type);
    // The settings keep the codec list's index + 2.
    EXPECT_EQ(c.type, int(k) + 2);
    EXPECT_EQ(rang_codec(c.type), int(k));
    ASSERT_NE(c.ligne, nullptr);
    EXPECT_TRUE(lignes.insert(c.ligne).second) << "each line once";
    ASSERT_NE(c.extension, nullptr);
    if (c.conteneur == vcv::kContainerAvi) {
      EXPECT_STREQ(c.extension, ".avi");
      for (int o = 0; o < 32; o += 8) EXPECT_TRUE(std::isalnum(int((c.codec >> o) & 0xFF))) << "a FourCC";
    } else if (c.conteneur == vcv::kContainerMpeg) {
      EXPECT_STREQ(c.extension, ".mpg");
      EXPECT_LE(c.codec, 4u) << "an MPEG variant";
    } else {
      ADD_FAILURE() << "no container the layer writes";
    }
    EXPECT_EQ(extension_film(c.type), c.extension);
  }
  EXPECT_EQ(extensions_films(), (std::vector<std::string>{".avi", ".mpg"}));
  // A type outside the table sets no codec and writes the first row's kind.
  EXPECT_FALSE(codec_video(1));
  EXPECT_FALSE(codec_video(int(table.size()) + 2));
  EXPECT_EQ(extension_film(0), ".avi");
  EXPECT_EQ(rang_codec(99), -1);
  // The Indeo row is known by its FourCC.
  int indeo = 0;
  for (const CodecVideo& c : table) indeo += codec_indeo(c.type);
  EXPECT_EQ(indeo, 1);
  EXPECT_TRUE(codec_indeo(3));
}

}  // namespace
