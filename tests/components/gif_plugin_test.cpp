// The GIF class as Qt's picture format: pictures read and written through
// QImageReader and QImageWriter go through it, and their pixels equal
// gif2rgb's decoding (giflib-tools; those cases skip without it).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "components/gif_plugin.h"
#include "outils_gif.h"

using namespace components;

namespace {

struct Dossier {
  QTemporaryDir dir;
  QString ecrire(const QByteArray& bytes, const QString& nom) const {
    QFile f(dir.filePath(nom));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return dir.filePath(nom);
  }
  // RGB triplets of the picture as gif2rgb decodes it.
  QByteArray rgb(const QString& gif) const {
    const QString out = dir.filePath("out.rgb");
    lancer("gif2rgb", {"-1", "-o", out, gif});
    QFile f(out);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }
};

QByteArray triplets(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  QByteArray out;
  for (int y = 0; y < rgb.height(); ++y)
    out.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), 3 * rgb.width());
  return out;
}

// 6 x 5, eight colours, interlaced, with a comment: built by gifbuild.
const char kSource[] = R"(screen width 6
screen height 5
screen colors 8
screen background 0
screen map
	rgb 0 0 0 is a
	rgb 255 0 0 is b
	rgb 0 255 0 is c
	rgb 0 0 255 is d
	rgb 255 255 0 is e
	rgb 0 255 255 is f
	rgb 255 0 255 is g
	rgb 90 90 90 is h
end
comment
made for the reader test
end
image
image interlaced
image bits 6 by 5
abcdef
ghabcd
efghab
cdefgh
hgfedc
)";

QImage lire(const QString& path) {
  QImageReader reader;
  OpenPicture(reader, path);
  return reader.read();
}

}  // namespace

TEST(GifPicture, ReaderOpensGifFilesThroughOurClassWithGif2rgbsPixels) {
  if (!outils()) GTEST_SKIP() << "giflib-tools (gifbuild, gif2rgb) are not installed";
  RegisterGifPictureFormat();
  Dossier d;
  const QByteArray bytes = lancer("gifbuild", {}, kSource);
  ASSERT_TRUE(bytes.startsWith("GIF89a"));
  const QString chemin = d.ecrire(bytes, "source.gif");
  const QImage picture = lire(chemin);
  ASSERT_EQ(picture.size(), QSize(6, 5));
  // Our class keeps the frame's indices; Qt's own reader gives 32-bit pixels.
  EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
  EXPECT_EQ(triplets(picture), d.rgb(chemin));
  EXPECT_EQ(triplets(picture).size(), 6 * 5 * 3);
  // A signature in lower case is ours to read: Qt's reader refuses it.
  QByteArray minuscules = bytes;
  minuscules.replace(0, 6, "gif89a");
  const QString autre = d.ecrire(minuscules, "minuscules.gif");
  EXPECT_EQ(triplets(lire(autre)), d.rgb(chemin));
  // Named by its format, the plugin reads from any device.
  QBuffer buffer(&minuscules);
  buffer.open(QIODevice::ReadOnly);
  QImageReader direct(&buffer, kGifPictureFormat);
  EXPECT_EQ(direct.size(), QSize(6, 5));
  EXPECT_EQ(triplets(direct.read()), d.rgb(chemin));
  // Other pictures are read by content as before, whatever their name.
  QImage png(3, 2, QImage::Format_RGB32);
  png.fill(Qt::green);
  png.save(d.dir.filePath("vert.gif"), "PNG");
  EXPECT_EQ(lire(d.dir.filePath("vert.gif")).pixelColor(1, 1), QColor(Qt::green));
}

TEST(GifPicture, FramesDelaysLoopsAndTransparencyThroughTheReader) {
  if (!outils()) GTEST_SKIP() << "giflib-tools (gifbuild, gif2rgb) are not installed";
  RegisterGifPictureFormat();
  Dossier d;
  const QByteArray tete = R"(screen width 2
screen height 2
screen colors 2
screen map
	rgb 10 20 30 is a
	rgb 200 100 0 is b
end
netscape loop 3
)";
  const QByteArray bytes = lancer("gifbuild", {}, tete +
                                                      "graphics control\n\tdelay 12\n\ttransparent index 1\nend\n"
                                                      "image\nimage bits 2 by 2\nab\nba\n"
                                                      "graphics control\n\tdelay 40\nend\n"
                                                      "image\nimage bits 2 by 2\nbb\nbb\n");
  QImageReader reader;
  OpenPicture(reader, d.ecrire(bytes, "anime.gif"));
  EXPECT_TRUE(reader.supportsAnimation());
  EXPECT_EQ(reader.imageCount(), 2);
  EXPECT_EQ(reader.loopCount(), 3);
  EXPECT_EQ(reader.nextImageDelay(), 120);
  const QImage premiere = reader.read();
  ASSERT_FALSE(premiere.isNull());
  EXPECT_EQ(premiere.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(qAlpha(premiere.pixel(1, 0)), 0);  // the transparent colour
  EXPECT_EQ(reader.currentImageNumber(), 0);
  EXPECT_EQ(reader.nextImageDelay(), 400);
  const QImage seconde = reader.read();
  EXPECT_EQ(seconde.pixel(1, 0), qRgb(200, 100, 0));
  EXPECT_FALSE(reader.canRead());
  EXPECT_TRUE(reader.jumpToImage(0));
  EXPECT_EQ(reader.read().pixel(0, 0), qRgb(10, 20, 30));
  // A broken file is an error of the reader, not a crash.
  QImageReader casse;
  OpenPicture(casse, d.ecrire(bytes.left(20), "coupe.gif"));
  EXPECT_TRUE(casse.read().isNull());
}

TEST(GifPicture, WriterSavesGifFilesThroughOurClass) {
  if (!outils()) GTEST_SKIP() << "giflib-tools (gifbuild, gif2rgb) are not installed";
  RegisterGifPictureFormat();
  Dossier d;
  QImage img(7, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) img.setPixel(x, y, qRgb(x * 30, y * 80, 5));
  const QString chemin = d.dir.filePath("ecrit.gif");
  QImageWriter writer(chemin, "gif");
  ASSERT_TRUE(writer.write(img)) << writer.errorString().toStdString();
  EXPECT_EQ(d.rgb(chemin), triplets(img));
  EXPECT_EQ(triplets(lire(chemin)), triplets(img));
}

// A picture wider than a GIF file can say is refused by the writer, and not a
// byte reaches the device.
TEST(GifPicture, WriterRefusesPicturesWiderThanSixteenBits) {
  RegisterGifPictureFormat();
  QImage img(65536, 1, QImage::Format_Indexed8);
  img.setColorTable({qRgb(0, 0, 0)});
  img.fill(0);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "gif");
  EXPECT_FALSE(writer.write(img));
  EXPECT_TRUE(buffer.data().isEmpty());
  QBuffer juste;
  juste.open(QIODevice::WriteOnly);
  EXPECT_TRUE(QImageWriter(&juste, "gif").write(img.copy(0, 0, 65535, 1)));
  EXPECT_EQ(juste.data().mid(6, 2), QByteArray("\xff\xff", 2));
}
