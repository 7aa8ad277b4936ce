// Icon lists and animated cursors, from files built byte by byte here: the
// list's stream with empty slots, the RIFF reading rules, cursor hot spots,
// the GIF and strip pictures made from a cursor, and broken files.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QMimeData>

#include "components/gif.h"
#include "components/icones.h"
#include "tests/support/memoire.h"

using namespace components;

namespace {

QByteArray u32(std::uint32_t v) {
  QByteArray b;
  for (int k = 0; k < 4; ++k) b.append(static_cast<char>((v >> (8 * k)) & 255));
  return b;
}

// An icon file of one size x size picture of one colour.
QByteArray ico(QColor c, int size = 16) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(c);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "ico").write(img);
  return bytes;
}

// The same as a cursor with its hot spot.
QByteArray cur(QColor c, QPoint hot) {
  QByteArray b = ico(c);
  b[2] = 2;
  b[6 + 4] = static_cast<char>(hot.x());
  b[6 + 6] = static_cast<char>(hot.y());
  return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& data) {
  QByteArray b = id + u32(static_cast<std::uint32_t>(data.size())) + data;
  if (data.size() & 1) b.append('\0');
  return b;
}

QByteArray anih(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate, std::uint32_t flags = 1) {
  return chunk("anih", u32(36) + u32(frames) + u32(steps) + u32(0) + u32(0) + u32(0) + u32(0) + u32(rate) + u32(flags));
}

QByteArray fram(const std::vector<QByteArray>& icons) {
  QByteArray data = "fram";
  for (const QByteArray& i : icons) data += chunk("icon", i);
  return chunk("LIST", data);
}

QByteArray riff(const QByteArray& chunks) { return "RIFF" + u32(static_cast<std::uint32_t>(chunks.size() + 4)) + "ACON" + chunks; }

}  // namespace

TEST(IconList, EmptySlotsStreamAsSizeZeroAndChangesAreCounted) {
  TIconList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  const TIcon red = TIcon::FromBytes(ico(Qt::red)), blue = TIcon::FromBytes(ico(Qt::blue, 32));
  list.BeginUpdate();
  list.Add(red);
  list.AddEmpty();
  list.Put(2, blue);  // the index equal to the count appends
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf(blue), 2);
  const QByteArray stream = list.SaveToStream();
  EXPECT_EQ(stream.mid(4 + 4 + red.Bytes().size(), 4), u32(0));
  TIconList back;
  back.LoadFromStream(stream);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Get(1), nullptr);
  EXPECT_EQ(back.Get(2)->Image().size(), QSize(32, 32));
  EXPECT_EQ(*back.Get(0), red);
  back.Move(2, 0);
  EXPECT_EQ(back.IndexOf(blue), 0);
  back.Exchange(0, 1);
  EXPECT_EQ(back.IndexOf(blue), 1);
  EXPECT_THROW(back.LoadFromStream(u32(0xFFFFFFFFu) + u32(0)), StreamReadError);
  EXPECT_THROW(back.LoadFromStream(u32(1) + u32(1000) + "abc"), StreamReadError);
  EXPECT_EQ(back.Count(), 3);  // a failed read keeps the list
  QMimeData mime;
  IconToMimeData(red, mime);
  EXPECT_EQ(IconFromMimeData(mime), red);
}

TEST(IconList, IconsFromTheProgramsResources) {
  TIconList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Add(TIcon::FromBytes(ico(Qt::red)));
  EXPECT_EQ(list.AddResource(":/tests", "icone.ico"), 1);
  list.InsertResource(0, "tests", "icone.ico");
  list.InsertResource(3, ":/tests/", "icone.ico");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(changes, 3 + 1);
  const QImage& image = list.Get(0)->Image();
  ASSERT_EQ(image.size(), QSize(16, 16));
  EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(12, 12), QColor(255, 165, 0));
  EXPECT_EQ(list.Get(1)->Image().pixelColor(2, 2), QColor(Qt::red));
  EXPECT_EQ(*list.Get(0), *list.Get(2));
  EXPECT_EQ(list.IndexOf(*list.Get(3)), 0);
  // A missing resource leaves the list as it was.
  try {
    list.AddResource(":/tests", "absente.ico");
    ADD_FAILURE();
  } catch (const TResourceNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource absente.ico not found");
  }
  EXPECT_THROW(list.InsertResource(9, ":/tests", "icone.ico"), std::out_of_range);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(changes, 4);
  // An empty name names no resource.
  EXPECT_THROW(list.AddResource(":/tests", ""), TResourceNotFound);
}

TEST(AnimatedCursor, FramesRatesAndHotSpots) {
  TAnimatedCursorImage c;
  // No "rate" nor "seq ": one frame per icon at the default rate.
  c.LoadFromStream(riff(anih(2, 2, 10) + fram({ico(Qt::red), cur(Qt::green, {3, 5})}) +
                        chunk("LIST", "INFO" + chunk("INAM", QByteArray("Sablier\0", 8)))));
  ASSERT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Frame(0).Rate, 10u);
  EXPECT_EQ(c.Frame(1).Rate, 10u);
  EXPECT_TRUE(c.Frame(0).IsIcon);
  EXPECT_EQ(c.Frame(0).HotSpot, QPoint(8, 8));
  EXPECT_FALSE(c.Frame(1).IsIcon);
  EXPECT_EQ(c.Frame(1).HotSpot, QPoint(3, 5));
  EXPECT_EQ(c.Frame(1).Icon.Image().pixelColor(4, 4), QColor(Qt::green));
  EXPECT_EQ(c.Title(), "Sablier");
  // Steps choose the icon of each frame; icons nobody asks for get frames of their own.
  c.LoadFromStream(riff(anih(2, 2, 10) + chunk("seq ", u32(1)) + chunk("seq ", u32(1)) +
                        fram({ico(Qt::red), ico(Qt::blue)})));
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Frame(0).Icon.Image().pixelColor(1, 1), QColor(Qt::blue));
  EXPECT_EQ(c.Frame(2).StepIndex, -1);
  EXPECT_EQ(c.Frame(2).Icon.Image().pixelColor(1, 1), QColor(Qt::red));
  EXPECT_THROW(c.LoadFromStream(riff(anih(1, 1, 10, 0) + fram({ico(Qt::red)}))), StreamReadError);
  EXPECT_THROW(c.LoadFromStream(riff(anih(1, 0, 10) + fram({ico(Qt::red)}))), StreamReadError);
  EXPECT_THROW(c.LoadFromStream(riff(anih(1, 1, 10))), StreamReadError);  // no frame
  try {
    c.SaveToStream();
    ADD_FAILURE();
  } catch (const NotImplementedError& e) {
    EXPECT_STREQ(e.what(), "Function not yet implemented");
  }
}

TEST(AnimatedCursor, GifAndStripPictureFromThreeFrames) {
  TAnimatedCursorImage c;
  c.LoadFromStream(riff(anih(3, 3, 6) + chunk("rate", u32(6)) + chunk("rate", u32(12)) + chunk("rate", u32(61)) +
                        fram({ico(Qt::red), ico(Qt::green), ico(Qt::blue)})));
  TGIFImage g;
  g.Assign(c);
  ASSERT_EQ(g.Count(), 3);
  EXPECT_EQ(g.Frame(0).AnimateInterval, 100);
  EXPECT_EQ(g.Frame(1).AnimateInterval, 200);
  EXPECT_EQ(g.Frame(2).AnimateInterval, 1016);
  EXPECT_EQ(g.BackgroundColor(), clWindow);
  EXPECT_EQ(g.ScreenWidth(), 16);
  const QImage strip = c.StripPicture(Qt::white);
  ASSERT_EQ(strip.size(), QSize(48, 16));
  EXPECT_EQ(strip.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(strip.pixelColor(21, 5), QColor(Qt::green));
  EXPECT_EQ(strip.pixelColor(37, 5), QColor(Qt::blue));
  TIconList list;
  c.AssignTo(list);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(c.AssignToIcon(), c.Frame(0).Icon);
}

TEST(AnimatedCursor, HostileFilesAreReadErrors) {
  TAnimatedCursorImage c;
  EXPECT_THROW(c.LoadFromStream(riff(anih(0xFFFFFFFFu, 1, 6) + fram({ico(Qt::red)}))), StreamReadError);
  // A hundred "rate" chunks for one frame: the extra ones are ignored.
  QByteArray rates;
  for (int i = 0; i < 100; ++i) rates += chunk("rate", u32(static_cast<std::uint32_t>(i + 1)));
  c.LoadFromStream(riff(anih(1, 1, 6) + rates + fram({ico(Qt::red)})));
  ASSERT_EQ(c.Count(), 1);
  EXPECT_EQ(c.Frame(0).Rate, 1u);
  // An icon directory past the end of its chunk.
  QByteArray court = ico(Qt::red);
  court[4] = 50;
  EXPECT_THROW(c.LoadFromStream(riff(anih(1, 1, 6) + fram({court}))), StreamReadError);
  QByteArray loin = ico(Qt::red);
  loin[6 + 12] = '\x7f';
  loin[6 + 15] = '\x7f';
  EXPECT_THROW(c.LoadFromStream(riff(anih(1, 1, 6) + fram({loin}))), StreamReadError);
  EXPECT_THROW(c.LoadFromStream("RIFF\x04\0\0\0WAVE"), StreamReadError);
  // A chunk cut by the end of the file ends reading with what was read.
  const QByteArray entier = riff(anih(1, 1, 6) + fram({ico(Qt::red)}) + chunk("LIST", "INFO" + chunk("INAM", "x")));
  c.LoadFromStream(entier.left(entier.size() - 3));
  EXPECT_EQ(c.Count(), 1);
}

// Counts that cost work per chunk present: announced frames are only counted,
// so neither icons against a huge announced count nor repeated headers redo
// the work already done. Each file below took the old reader billions of steps.
TEST(AnimatedCursor, AnnouncedCountsCostOnlyTheChunksPresent) {
  TAnimatedCursorImage c;
  // About 1 MB: 12,000 one-pixel icons after a header announcing size / 8 frames.
  const QByteArray un = ico(Qt::red, 1);
  std::vector<QByteArray> icones(12000, un);
  icones[11999] = ico(Qt::blue, 1);
  const QByteArray liste = fram(icones);
  const std::uint32_t annonce = static_cast<std::uint32_t>((liste.size() + 12 + 44 + 12) / 8);
  const QByteArray fichier = riff(anih(annonce, 1, 6) + chunk("rate", u32(9)) + liste);
  ASSERT_EQ(annonce, static_cast<std::uint32_t>(fichier.size() / 8));
  const std::int64_t pic = test_memoire::croissance_pic([&] { c.LoadFromStream(fichier); });
  ASSERT_EQ(c.Count(), 12000);
  EXPECT_EQ(c.Frame(0).Rate, 9u);
  EXPECT_EQ(c.Frame(1).Rate, 6u);
  EXPECT_EQ(c.Frame(11999).StepIndex, 11999);
  EXPECT_EQ(c.Frame(11999).Icon.Image().pixelColor(0, 0), QColor(Qt::blue));
  if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(std::int64_t(64) << 20));
  // 30,000 headers in a row, each announcing size / 8 frames, then one icon.
  const QByteArray une = fram({ico(Qt::green, 1)});
  const int entetes = 30000;
  const std::uint32_t grand = static_cast<std::uint32_t>((entetes * 44 + une.size() + 12) / 8);
  QByteArray suite;
  for (int i = 0; i < entetes; ++i) suite += anih(grand, 1, 6);
  c.LoadFromStream(riff(suite + une));
  ASSERT_EQ(c.Count(), 1);
  // Steps sent many records to one icon, and the later headers start afresh.
  QByteArray pas;
  for (int i = 0; i < 5; ++i) pas += chunk("seq ", u32(1));
  c.LoadFromStream(riff(anih(5, 1, 6) + pas + fram({ico(Qt::red), ico(Qt::blue)})));
  ASSERT_EQ(c.Count(), 6);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c.Frame(i).Icon.Image().pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(c.Frame(5).StepIndex, -1);
}

// An icon chunk costs about what it holds: a cursor of 24,000 one-pixel,
// one-bit icons in chunks of 86 bytes (2 MB) once kept 3.4 KB a frame, 82 MB
// in all. The frames keep their icons' bytes, and a picture is read when it
// is first asked for.
TEST(AnimatedCursor, EachIconChunkCostsWhatItHolds) {
  // Directory of one 1 x 1 cursor entry (hot spot 0, 0), its 40-byte header,
  // two colours (black, white), then one row of colour bits and one of mask bits.
  const QByteArray un = QByteArray::fromHex("000002000100" "0101020000000000" "38000000" "16000000") +
                        QByteArray::fromHex("28000000" "01000000" "02000000" "0100" "0100") + QByteArray(24, '\0') +
                        QByteArray::fromHex("00000000ffffff00") + QByteArray(8, '\0');
  ASSERT_EQ(chunk("icon", un).size(), 86);
  const int nombre = 24000;
  const QByteArray fichier = riff(anih(1, 1, 6) + fram(std::vector<QByteArray>(nombre, un)));
  std::int64_t garde = -1;
  const std::int64_t pic = test_memoire::croissance_pic([&] {
    TAnimatedCursorImage c;
    const std::int64_t avant = test_memoire::champ_kb("VmRSS");
    c.LoadFromStream(fichier);
    garde = (test_memoire::champ_kb("VmRSS") - avant) * 1024;
    ASSERT_EQ(c.Count(), nombre);
    EXPECT_EQ(c.MaxColors(), 2);
    EXPECT_FALSE(c.Frame(7).IsIcon);
    EXPECT_EQ(c.Frame(nombre - 1).Icon.Bytes().mid(14), un.mid(14));
    const QImage image = c.Frame(nombre - 1).Icon.Image();
    ASSERT_EQ(image.size(), QSize(1, 1));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
  });
  // 24,000 frames of a few small blocks each: the check means something
  // only where a small block costs what it holds.
  if (pic >= 0 && test_memoire::petits_blocs_mesurables()) {
    EXPECT_LT(pic, test_memoire::borne(std::int64_t(24) << 20));
    EXPECT_LT(garde, test_memoire::borne(std::int64_t(nombre) * 1024)) << garde / nombre << " bytes a frame";
  }
}
