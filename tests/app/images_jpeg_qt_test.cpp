// Our JPEG files read the same through Qt's reader, and Qt's files through ours.
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "render/jpeg.h"

using namespace render;

TEST(JpegWithQt, OurFilesReadInQtAndTheSkyPicture) {
  const auto d = std::filesystem::temp_directory_path() / ("quorvel_jpeg_qt_" + std::to_string(::getpid()));
  std::filesystem::create_directories(d);
  Bitmap a(300, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) a.at(x, y) = pixel_rgb(std::uint8_t(x * 255 / 300), std::uint8_t(y), 120);
  const std::string chemin = (d / "a.jpg").string();
  ASSERT_TRUE(ecrire_jpeg(chemin, a, 95));
  QImage q(QString::fromStdString(chemin));
  ASSERT_FALSE(q.isNull());
  ASSERT_EQ(q.width(), 300);
  ASSERT_EQ(q.height(), 200);
  double somme = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const QRgb p = q.pixel(x, y);
      const Rgb r = rgb_of(a.at(x, y));
      somme += std::abs(qRed(p) - r.r) + std::abs(qGreen(p) - r.g) + std::abs(qBlue(p) - r.b);
    }
  EXPECT_LT(somme / (300.0 * 200 * 3), 3.0);

  // A greyscale file written by Qt reads through ours.
  QImage gris(64, 32, QImage::Format_Grayscale8);
  gris.fill(128);
  const std::string chemin_gris = (d / "g.jpg").string();
  ASSERT_TRUE(gris.save(QString::fromStdString(chemin_gris), "JPG", 90));
  Bitmap b;
  ASSERT_TRUE(lire_jpeg(chemin_gris, b));
  EXPECT_EQ(b.width(), 64);
  EXPECT_NEAR(rgb_of(b.at(10, 10)).r, 128, 2);

  QImage ciel(QString(QUORVEL_SOURCE_DIR) + "/app/data/ciels/nuage.jpg");
  EXPECT_EQ(ciel.width(), 1024);
  EXPECT_EQ(ciel.height(), 512);
  std::filesystem::remove_all(d);
}
