// GIF reading and writing. Inputs are built with gifbuild from text, and what
// we write is read back by gifbuild -d and decoded by gif2rgb (giflib-tools);
// those tests skip when the tools are missing. Hostile files end in an error
// or a frame marked corrupted.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QMimeData>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <array>
#include <limits>

#include "components/gif.h"
#include "components/reduction.h"
#include "model/defauts.h"
#include "outils_gif.h"
#include "render/calcul_image.h"
#include "tests/support/memoire.h"
#include "tests/support/terrains.h"

using namespace components;

namespace {

QByteArray construire(const QByteArray& texte) { return lancer("gifbuild", {}, texte); }

struct Fichier {
  QTemporaryDir dir;
  QString chemin(const QString& nom) const { return dir.filePath(nom); }
  QString ecrire(const QByteArray& bytes, const QString& nom = "a.gif") const {
    QFile f(chemin(nom));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return chemin(nom);
  }
};

QString decrire(const QByteArray& gif) {
  Fichier f;
  return QString::fromLatin1(lancer("gifbuild", {"-d", f.ecrire(gif)}));
}

// RGB triplets of every pixel, as gif2rgb decodes the first image.
QByteArray rgb_de(const QByteArray& gif) {
  Fichier f;
  const QString in = f.ecrire(gif);
  lancer("gif2rgb", {"-1", "-o", f.chemin("out.rgb"), in});
  QFile out(f.chemin("out.rgb"));
  out.open(QIODevice::ReadOnly);
  return out.readAll();
}

const char kTete[] = R"(screen width 4
screen height 4
screen colors 4
screen background 0
screen map
	rgb 0 0 0 is a
	rgb 255 0 0 is b
	rgb 0 255 0 is c
	rgb 0 0 255 is d
end
)";

QByteArray image(const QByteArray& extra = "", const char* decl = "") {
  return QByteArray(kTete) + extra + "image\n" + decl + "image bits 4 by 4\nabcd\nbcda\ncdab\ndabc\n";
}

std::vector<int> indices(const QImage& img) {
  std::vector<int> v;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) v.push_back(img.pixelIndex(x, y));
  return v;
}

QByteArray petit_gif() {
  // 2 x 2, two colours, one frame: clear, 0, 1, 1, 0, end in 3-bit codes.
  return QByteArray("GIF89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff", 19) +
         QByteArray(",\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x03\x44\x02\x05\x00;", 17);
}

// A screen of side x side without a colour table, and `frames` frames
// covering it that hold no pixel data at all (code size 2, then the closing
// empty block): a few bytes a frame, whatever the size.
QByteArray cadres_vides(int side, int frames) {
  QByteArray b("GIF89a");
  auto mot = [&](int v) {
    b.append(static_cast<char>(v & 255));
    b.append(static_cast<char>(v >> 8));
  };
  mot(side);
  mot(side);
  b.append(QByteArray("\0\0\0", 3));
  for (int i = 0; i < frames; ++i) {
    b.append(',');
    mot(0);
    mot(0);
    mot(side);
    mot(side);
    b.append(QByteArray("\0\x02\0", 3));
  }
  b.append(';');
  return b;
}

// Writes `img` as a one-frame GIF file and checks that gif2rgb and our reader
// both decode it to its reduction to a palette, pixel for pixel; gives the
// RGB triplets gif2rgb decoded.
QByteArray ecrit_et_relu_par_les_deux(const QImage& img) {
  TGIFImage g;
  g.AddFrame(img);
  const QByteArray bytes = g.SaveToStream();
  const Reduction red = ReduceColors(img.convertToFormat(QImage::Format_RGB32), crPopularity);
  const int w = img.width(), h = img.height();
  const QByteArray rgb = rgb_de(bytes);
  EXPECT_EQ(rgb.size(), qsizetype(3) * w * h);
  TGIFImage relu;
  relu.LoadFromStream(bytes);
  EXPECT_FALSE(relu.Frame(0).Corrupted);
  const QImage back = relu.Frame(0).Bitmap();
  EXPECT_EQ(back.size(), img.size());
  if (rgb.size() != qsizetype(3) * w * h || back.size() != img.size()) return rgb;
  qint64 autres_gif2rgb = 0, autres_nous = 0;
  for (int y = 0; y < h; ++y) {
    const uchar* ligne = back.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      const std::size_t i = std::size_t(y) * w + x;
      const QRgb c = red.palette[red.indices[i]];
      autres_gif2rgb += static_cast<std::uint8_t>(rgb[3 * i]) != qRed(c) ||
                        static_cast<std::uint8_t>(rgb[3 * i + 1]) != qGreen(c) ||
                        static_cast<std::uint8_t>(rgb[3 * i + 2]) != qBlue(c);
      autres_nous += ligne[x] != red.indices[i];
    }
  }
  EXPECT_EQ(autres_gif2rgb, 0);
  EXPECT_EQ(autres_nous, 0);
  return rgb;
}

}  // namespace

TEST(GifRead, VersionsDelayInterlaceAndLooping) {
  EXIGER_OUTILS();
  const char* controle = "graphics control\n\tdelay 7\n\ttransparent index 1\nend\n";
  QByteArray bytes = construire(image(QByteArray("netscape loop 3\n") + controle));
  ASSERT_TRUE(bytes.startsWith("GIF89a"));
  const QByteArray rgb = rgb_de(bytes);
  TGIFImage g;
  bytes.replace(0, 6, "gif89a");
  g.LoadFromStream(bytes);
  ASSERT_EQ(g.Count(), 1);
  EXPECT_EQ(g.Version(), 2);
  const TGIFFrame& f = g.Frame(0);
  EXPECT_EQ(f.AnimateInterval, 70);
  EXPECT_EQ(f.TransparentColor, CtlRgb(255, 0, 0));
  EXPECT_TRUE(g.Looping());
  EXPECT_EQ(g.RepeatCount(), 3);
  EXPECT_EQ(f.Bitmap().format(), QImage::Format_Indexed8);
  EXPECT_EQ(indices(f.Bitmap()), (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 0, 2, 3, 0, 1, 3, 0, 1, 2}));
  EXPECT_EQ(f.Bitmap().color(1), qRgb(255, 0, 0));
  // Written back, the delay is stored in hundredths again.
  EXPECT_TRUE(decrire(g.SaveToStream()).contains("delay 7"));
  // The interlaced twin decodes to the same pixels, as gif2rgb does.
  TGIFImage twin;
  const QByteArray entrelace = construire(image("", "image interlaced\n"));
  twin.LoadFromStream(entrelace);
  EXPECT_TRUE(twin.Frame(0).Interlaced);
  EXPECT_EQ(indices(twin.Frame(0).Bitmap()), indices(f.Bitmap()));
  EXPECT_EQ(rgb_de(entrelace), rgb);
  EXPECT_EQ(rgb.size(), 48);
  bytes.replace(0, 6, "GIF90a");
  try {
    g.LoadFromStream(bytes);
    ADD_FAILURE();
  } catch (const GifError& e) {
    EXPECT_STREQ(e.what(), "Unknown GIF version");
  }
}

TEST(GifRead, CommentCutFilesAndUnknownExtensions) {
  EXIGER_OUTILS();
  TGIFImage g;
  g.LoadFromStream(construire(image() + "comment\nfirst line\nend\n"));
  EXPECT_EQ(g.Comment(), QStringList{"first line"});
  // A file cut inside a sub-block keeps the rows read.
  const QByteArray entier = petit_gif();
  g.LoadFromStream(entier);
  EXPECT_FALSE(g.Frame(0).Corrupted);
  EXPECT_EQ(g.Frame(0).Bitmap().format(), QImage::Format_Mono);
  EXPECT_EQ(indices(g.Frame(0).Bitmap()), (std::vector<int>{0, 1, 1, 0}));
  g.LoadFromStream(entier.left(entier.size() - 4));
  ASSERT_EQ(g.Count(), 1);
  EXPECT_TRUE(g.Frame(0).Corrupted);
  EXPECT_EQ(g.Frame(0).Bitmap().size(), QSize(2, 2));
  g.CorruptedTolerated = false;
  EXPECT_THROW(g.LoadFromStream(entier.left(entier.size() - 4)), StreamReadError);
  QByteArray extension = entier;
  extension.insert(19, QByteArray("!\x7a\x00", 3));
  try {
    TGIFImage h;
    h.LoadFromStream(extension);
    ADD_FAILURE();
  } catch (const GifError& e) {
    EXPECT_STREQ(e.what(), "Unrecognized extension block: 7a");
  }
}

TEST(GifRead, HostileFilesEndInAnErrorOrACorruptedFrame) {
  const QByteArray base = petit_gif();
  TGIFImage g;
  // A global table past the end.
  EXPECT_THROW(g.LoadFromStream(base.left(16)), StreamReadError);
  // Code size 12.
  QByteArray code = base;
  code[29] = 12;
  g.LoadFromStream(code);
  EXPECT_TRUE(g.Frame(0).Corrupted);
  // A 65535 x 65535 frame is refused before anything is allocated.
  QByteArray enorme = base;
  enorme[24] = enorme[25] = enorme[26] = enorme[27] = '\xff';
  try {
    g.LoadFromStream(enorme);
    ADD_FAILURE();
  } catch (const GifError& e) {
    EXPECT_STREQ(e.what(), "GIF frame of 65535 x 65535 pixels is too large: a frame holds at most 67108864 pixels");
  }
  // Codes above the table.
  QByteArray codes = base;
  codes[31] = '\xff';
  codes[32] = '\xff';
  g.LoadFromStream(codes);
  EXPECT_TRUE(g.Frame(0).Corrupted);
  bool corrupted = false;
  EXPECT_THROW(GifDecodePixels(QByteArray("\x02\x02\xff\xff\x00", 5), 2, 2, 1, false, false, corrupted), GifError);
  // Random bytes after a valid header never read out of bounds.
  QRandomGenerator r(7);
  for (int essai = 0; essai < 200; ++essai) {
    QByteArray bruit = base.left(19) + ",";
    for (int i = 0; i < 40; ++i) bruit.append(static_cast<char>(r.bounded(256)));
    bruit[24] = 8;  // width 8 and height 8 keep the frame small
    bruit[25] = 0;
    bruit[26] = 8;
    bruit[27] = 0;
    try {
      g.LoadFromStream(bruit);
    } catch (const std::exception&) {
    }
  }
}

TEST(GifWrite, NoiseDecodesToOurReductionAndCodeSizes) {
  EXIGER_OUTILS();
  QImage bruit(640, 480, QImage::Format_RGB32);
  QRandomGenerator r(3);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) bruit.setPixel(x, y, qRgb(r.bounded(256), r.bounded(256), r.bounded(256)));
  ecrit_et_relu_par_les_deux(bruit);
  // A 1-bit picture is written with code size 2.
  QImage mono(9, 3, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.fill(0);
  mono.setPixel(4, 1, 1);
  TGIFImage m;
  m.AddFrame(mono);
  const QByteArray mb = m.SaveToStream();
  const qsizetype virgule = mb.indexOf(',', 13 + 6);
  ASSERT_GT(virgule, 0);
  EXPECT_EQ(mb[virgule + 10], 2);
  TGIFImage mr;
  mr.LoadFromStream(mb);
  EXPECT_EQ(indices(mr.Frame(0).Bitmap()), indices(mono));
  EXPECT_TRUE(decrire(mb).contains("image bits 9 by 3"));
}

// One colour makes strings of thousands of pixels, which the string table
// must find as it finds short ones, through two restarts of the table; a
// rendered landscape has the short strings of a real picture.
TEST(GifWrite, OneColourAndALandscapeReadBackAlikeInBothReaders) {
  EXIGER_OUTILS();
  QImage uni(4096, 4096, QImage::Format_RGB32);
  uni.fill(qRgb(90, 140, 200));
  EXPECT_EQ(ecrit_et_relu_par_les_deux(uni).left(3), QByteArray("\x5a\x8c\xc8", 3));
  auto terrain = terrain_genere(parametres_test(7));
  param_vue vue;
  valeurs_defaut_vue(vue);
  render::Bitmap paysage(640, 480);
  render::calcul_image(*terrain, 0, palette_pour_vue(vue), paysage, {}, vue, 640, 480, nullptr, nullptr, 1, 0, 0, 0,
                       0, {});
  const QImage img(reinterpret_cast<const uchar*>(paysage.row(0)), 640, 480, 640 * 4, QImage::Format_RGB32);
  EXPECT_GT(ReduceColors(img, crPopularity).palette.size(), 64u);
  ecrit_et_relu_par_les_deux(img);
}

// Frames written one after another by the same image, at both code sizes,
// through restarts of the string table and again after a save: each frame's
// data is what the coder gives that frame alone (nothing a frame before left
// in the table is taken for a string of this one), and the files are the
// bytes this writer has always written.
TEST(GifWrite, FramesOfOneFileAreCodedAsEachAloneInPinnedBytes) {
  auto indexee = [](int w, int h, auto couleur) {
    QImage img(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) table << qRgb(i, 255 - i, (i * 7) & 255);
    img.setColorTable(table);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) img.setPixel(x, y, couleur(x, y));
    return img;
  };
  QRandomGenerator r(7);
  const QImage bruit = indexee(200, 150, [&](int, int) { return r.bounded(256); });
  const QImage uni = indexee(300, 300, [](int, int) { return 9; });
  const QImage bandes = indexee(64, 48, [](int x, int y) { return (x / 5 + y / 3) % 4; });
  QImage mono(37, 11, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 37; ++x) mono.setPixel(x, y, (x * x + y) % 3 == 0);
  // The frame's data when it is the only frame of a file of its own.
  auto seule = [](const QImage& img) {
    TGIFImage s;
    s.AddFrame(img);
    s.SaveToStream();
    return s.Frame(0).Item()->ZData;
  };
  auto empreinte = [](const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex().toStdString();
  };
  const std::vector<QImage> cadres{bruit, uni, mono, bandes, bruit};
  TGIFImage g;
  for (const QImage& c : cadres) g.AddFrame(c);
  const QByteArray premier = g.SaveToStream();
  EXPECT_EQ(empreinte(premier), "81a742ad30545144e0bc4302966cd32ca402afc0d20de09cda10eeef2fc6c92c");
  g.AddFrame(bandes);
  g.AddFrame(mono);
  const QByteArray second = g.SaveToStream();
  EXPECT_EQ(empreinte(second), "c7b9ab1d24a648cdaae6837f80d1389d0d1633b3f40a0dc7b1fccfea1ca2a331");
  ASSERT_EQ(g.Count(), 7);
  for (int i = 0; i < g.Count(); ++i) {
    SCOPED_TRACE(i);
    const QImage& c = i < 5 ? cadres[static_cast<std::size_t>(i)] : (i == 5 ? bandes : mono);
    EXPECT_EQ(g.Frame(i).Item()->ZData, seule(c));
  }
  TGIFImage relu;
  relu.LoadFromStream(second);
  ASSERT_EQ(relu.Count(), 7);
  EXPECT_EQ(indices(relu.Frame(4).Bitmap()), indices(bruit));
  EXPECT_EQ(indices(relu.Frame(6).Bitmap()), indices(mono));
}

TEST(GifWrite, LoopingCommentsAndEmptyImages) {
  EXIGER_OUTILS();
  QImage img(4, 4, QImage::Format_Indexed8);
  img.setColorTable({qRgb(0, 0, 0), qRgb(10, 20, 30), qRgb(200, 100, 0)});
  img.fill(2);
  TGIFImage g;
  g.AddFrame(img);
  g.SetLooping(true);
  g.SetRepeatCount(5);
  EXPECT_FALSE(decrire(g.SaveToStream()).contains("netscape loop"));
  g.AddFrame(img);
  g.Frame(1).AnimateInterval = 250;
  g.SetComment({"made here", "", "second"});
  const QByteArray bytes = g.SaveToStream();
  const QString texte = decrire(bytes);
  EXPECT_TRUE(texte.contains("netscape loop 5"));
  EXPECT_TRUE(texte.contains("delay 25"));
  EXPECT_TRUE(texte.contains("comment\nmade here\nsecond\nend"));
  TGIFImage relu;
  relu.LoadFromStream(bytes);
  EXPECT_EQ(relu.Count(), 2);
  EXPECT_EQ(relu.Frame(1).AnimateInterval, 250);
  EXPECT_EQ(relu.Comment(), (QStringList{"made here", "second"}));
  EXPECT_EQ(relu.Frame(0).Bitmap().color(2), qRgb(200, 100, 0));
  EXPECT_EQ(relu.RepeatCount(), 5);
  TGIFImage vide;
  try {
    vide.SaveToStream();
    ADD_FAILURE();
  } catch (const GifError& e) {
    EXPECT_STREQ(e.what(), "No GIF Data to write");
  }
  EXPECT_THROW(g.SetWidth(3), GifError);
}

// Places and sizes are 16 bits in a file: a frame that reaches past 65535,
// or is placed before 0, is refused whole (file, bytes and clipboard), never
// written wrapped round; one that ends at 65535 exactly is written as it is.
TEST(GifWrite, SizesAndPlacesBeyondSixteenBitsAreRefused) {
  QImage petit(2, 2, QImage::Format_Indexed8);
  petit.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  petit.fill(1);
  QImage large(64026, 1, QImage::Format_Indexed8);
  large.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  large.fill(0);
  TGIFImage g;
  g.AddFrame(petit);
  g.AddFrame(large);
  g.Frame(1).Left = 2048;
  try {
    g.SaveToStream();
    ADD_FAILURE() << "a 66074-wide screen was written";
  } catch (const GifError& e) {
    EXPECT_STREQ(e.what(), "GIF size or position out of range 0 to 65535");
  }
  Fichier f;
  EXPECT_THROW(g.SaveToFile(f.chemin("large.gif")), GifError);
  EXPECT_FALSE(QFile::exists(f.chemin("large.gif")));
  QMimeData mime;
  EXPECT_THROW(g.SaveToClipboardFormat(mime), GifError);
  EXPECT_TRUE(mime.formats().isEmpty());
  EXPECT_FALSE(g.Frame(1).Item());  // nothing was encoded for it either

  // Right edge 2048 + 63487 = 65535: written, the screen and the frame as they
  // are (the descriptor follows the header and the two-colour global table).
  TGIFImage juste;
  juste.AddFrame(large.copy(0, 0, 63487, 1));
  juste.AddFrame(petit);
  juste.Frame(0).Left = 2048;
  const QByteArray bytes = juste.SaveToStream();
  auto mot = [&](int at) { return static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8); };
  EXPECT_EQ(mot(6), 65535);
  EXPECT_EQ(mot(8), 2);
  ASSERT_EQ(bytes[19], ',');
  EXPECT_EQ(mot(20), 2048);
  EXPECT_EQ(mot(24), 63487);

  // Heights and places that do not fit, one at a time.
  for (const auto& [left, top, w, h] : {std::array{0, 0, 1, 65536}, std::array{-1, 0, 1, 1},
                                        std::array{0, -3, 1, 1}, std::array{65535, 0, 1, 1},
                                        std::array{std::numeric_limits<int>::max(), 0, 2, 1}}) {
    QImage img(w, h, QImage::Format_Indexed8);
    img.setColorTable({qRgb(0, 0, 0)});
    img.fill(0);
    TGIFImage un;
    un.AddFrame(img);
    un.Frame(0).Left = left;
    un.Frame(0).Top = top;
    EXPECT_THROW(un.SaveToStream(), GifError) << left << " " << top << " " << w << "x" << h;
  }
}

// One limit of a side and of the pixels a frame holds serves the writer and
// the reader: what is written reads back, what is refused is refused by both
// with a message that names the size.
TEST(GifImage, TheReaderReadsBackWhatTheWriterWrites) {
  const auto refus = [](auto&& faire) -> std::string {
    try {
      faire();
    } catch (const GifError& e) {
      return e.what();
    }
    return "accepted";
  };
  QImage large(kGifMaxSide, 16, QImage::Format_Mono);
  large.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  large.fill(0);
  for (int y = 0; y < 16; ++y) large.setPixel((y * 4099) % kGifMaxSide, y, 1);
  TGIFImage g;
  g.AddFrame(large);
  QByteArray bytes = g.SaveToStream();
  TGIFImage relu;
  relu.LoadFromStream(bytes);
  EXPECT_EQ(indices(relu.Frame(0).Bitmap()), indices(large));
  // A row more than a frame holds, written or announced by a file.
  const std::string trop = "GIF frame of 65535 x 1025 pixels is too large: a frame holds at most 67108864 pixels";
  QImage haute(kGifMaxSide, 1025, QImage::Format_Mono);
  haute.fill(0);
  TGIFImage h;
  h.AddFrame(haute);
  EXPECT_EQ(refus([&] { h.SaveToStream(); }), trop);
  ASSERT_EQ(bytes[19], ',');
  bytes[26] = 1;  // the descriptor's height, 1025
  bytes[27] = 4;
  EXPECT_EQ(refus([&] { relu.LoadFromStream(bytes); }), trop);
  // Frames that hold more together than a file may.
  const std::string total = "GIF frames of 335544320 pixels in all are too large: a file holds at most 268435456 pixels";
  QImage cote(8192, 8192, QImage::Format_Mono);
  cote.fill(0);
  TGIFImage cinq;
  for (int i = 0; i < 5; ++i) cinq.AddFrame(cote);
  EXPECT_EQ(refus([&] { cinq.SaveToStream(); }), total);
  EXPECT_EQ(refus([&] { relu.LoadFromStream(cadres_vides(8192, 5)); }), total);
}

TEST(GifImage, CopiesShareDataAndTheClipboardCarriesTheFile) {
  TGIFImage g;
  g.LoadFromStream(petit_gif());
  TGIFImage copie(g);
  EXPECT_TRUE(copie.Equals(g));
  EXPECT_EQ(copie.Frame(0).Item(), g.Frame(0).Item());
  copie.SetComment({"only mine"});
  EXPECT_FALSE(copie.Equals(g));
  EXPECT_TRUE(g.Comment().isEmpty());
  QMimeData mime;
  g.SaveToClipboardFormat(mime);
  ASSERT_TRUE(mime.hasFormat("image/gif"));
  TGIFImage colle;
  colle.LoadFromClipboardFormat(mime);
  EXPECT_EQ(indices(colle.Bitmap()), (std::vector<int>{0, 1, 1, 0}));
  // A picture beside the GIF data replaces the first frame's; the data stays.
  QImage autre(3, 1, QImage::Format_RGB32);
  autre.fill(Qt::red);
  mime.setImageData(autre);
  colle.LoadFromClipboardFormat(mime);
  EXPECT_EQ(colle.Bitmap().size(), QSize(3, 1));
  EXPECT_EQ(colle.Frame(0).Item()->Width, 2);
  // Without GIF data the picture alone is loaded; a frame without data puts no GIF data out.
  QMimeData seule;
  seule.setImageData(autre);
  colle.LoadFromClipboardFormat(seule);
  EXPECT_EQ(colle.Count(), 1);
  QMimeData sortie;
  colle.SaveToClipboardFormat(sortie);
  EXPECT_TRUE(sortie.hasImage());
  EXPECT_FALSE(sortie.hasFormat("image/gif"));
  TGIFImage flux;
  flux.ReadData(g.WriteData());
  EXPECT_EQ(flux.Count(), 1);
  EXPECT_EQ(flux.Width(), 2);
}

TEST(GifRead, FramesOfEmptyDataAreCappedTogetherAndDecodedOnFirstUse) {
  // 494 bytes announcing 40 frames of 8192 x 8192: refused as a whole before
  // any frame is decoded.
  const QByteArray hostile = cadres_vides(8192, 40);
  ASSERT_EQ(hostile.size(), 494);
  TGIFImage g;
  std::string message;
  const std::int64_t pic = test_memoire::croissance_pic([&] {
    try {
      g.LoadFromStream(hostile);
    } catch (const GifError& e) {
      message = e.what();
    }
  });
  EXPECT_EQ(message, "GIF frames of 335544320 pixels in all are too large: a file holds at most 268435456 pixels");
  EXPECT_EQ(g.Count(), 0);
  if (pic >= 0) {
    EXPECT_LT(pic, test_memoire::borne(std::int64_t(32) << 20));
  }
  // Three such frames fit under the cap: reading keeps their few bytes only,
  // and a frame is decoded, to its full size, when it is first asked for; its
  // rows take memory only as the codes reach them, so an empty frame's 64 MB
  // are not touched until its pixels are written.
  g.DecodeOnLoad = false;
  const std::int64_t lecture = test_memoire::croissance_pic([&] { g.LoadFromStream(cadres_vides(8192, 3)); });
  ASSERT_EQ(g.Count(), 3);
  if (lecture >= 0) {
    EXPECT_LT(lecture, test_memoire::borne(std::int64_t(32) << 20));
  }
  EXPECT_FALSE(g.Frame(1).Decoded());
  EXPECT_EQ(g.Frame(1).Width(), 8192);
  EXPECT_EQ(g.Width(), 8192);
  EXPECT_FALSE(g.Frame(0).Decoded());
  QImage b;
  const std::int64_t decodage = test_memoire::croissance_pic([&] { b = g.Frame(1).Bitmap(); });
  if (decodage >= 0) {
    EXPECT_LT(decodage, test_memoire::borne(16 << 20));
  }
  EXPECT_EQ(b.size(), QSize(8192, 8192));
  EXPECT_EQ(b.pixelIndex(8191, 8191), 0);
  QImage ecrite = b;
  const std::int64_t ecriture = test_memoire::croissance_pic([&] { ecrite.fill(1); });
  if (ecriture >= 0) {
    EXPECT_GT(ecriture, 48 << 20);  // the probe sees the 64 MB once written
  }
  EXPECT_EQ(b.pixelIndex(8191, 8191), 0);
  EXPECT_FALSE(g.Frame(2).Decoded());
  // The cap counts what the frames announce, so more small frames still read.
  g.DecodeOnLoad = true;
  g.LoadFromStream(cadres_vides(64, 2000));
  EXPECT_EQ(g.Count(), 2000);
  EXPECT_TRUE(g.Frame(0).Decoded());
  EXPECT_FALSE(g.Frame(1999).Decoded());
}

TEST(GifImage, ProgressOfDecodingAndEncoding) {
  QImage bandes(64, 50, QImage::Format_Indexed8);
  bandes.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(9, 9, 9), qRgb(200, 0, 0)});
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 64; ++x) bandes.setPixel(x, y, (x * 7 + y * 13) % 4);
  std::vector<std::pair<TProgressStage, int>> vu;
  QStringList messages;
  auto ecouter = [&](TProgressStage s, int p, const QString& m) {
    vu.emplace_back(s, p);
    if (!m.isEmpty()) messages << m;
  };
  TGIFImage g;
  g.OnProgress = ecouter;
  g.AddFrame(bandes);
  const QByteArray bytes = g.SaveToStream();
  auto verifier = [&] {
    ASSERT_GE(vu.size(), 3u);
    EXPECT_EQ(vu.front(), std::make_pair(psStarting, 0));
    EXPECT_EQ(vu.back(), std::make_pair(psEnding, 100));
    for (std::size_t i = 1; i + 1 < vu.size(); ++i) {
      EXPECT_EQ(vu[i].first, psRunning);
      EXPECT_GT(vu[i].second, vu[i - 1].second);
      EXPECT_LE(vu[i].second, 100);
    }
  };
  verifier();
  vu.clear();
  TGIFImage r;
  r.OnProgress = ecouter;
  r.LoadFromStream(bytes);
  verifier();
  EXPECT_TRUE(messages.isEmpty());
  // A broken frame ends with the error's message, and is dropped.
  vu.clear();
  QByteArray casse = petit_gif();
  casse[31] = '\xff';
  casse[32] = '\xff';
  r.CorruptedTolerated = false;
  EXPECT_THROW(r.LoadFromStream(casse), GifError);
  EXPECT_EQ(r.Count(), 0);
  ASSERT_FALSE(vu.empty());
  EXPECT_EQ(vu.back().first, psEnding);
  EXPECT_EQ(messages, QStringList{"GIF encoded data is corrupt"});
}
