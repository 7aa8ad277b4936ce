// Picture fields, BMP files, list items, whole-list streams, list files and
// change links of the picture containers.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "controls/bitmapfile.h"
#include "controls/ctlerror.h"
#include "controls/imagelist.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0);

QByteArray Hex(const char* text) { return QByteArray::fromHex(QByteArray(text).replace(' ', "")); }

QImage Solid(int w, int h, QRgb c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// A picture with a different colour in every column, from a small palette.
QImage Stripes(int w, int h, int colours) {
  static const QRgb kClassic[] = {qRgb(0, 0, 0),     qRgb(128, 0, 0),   qRgb(0, 128, 0),     qRgb(128, 128, 0),
                                  qRgb(0, 0, 128),   qRgb(128, 0, 128), qRgb(0, 128, 128),   qRgb(192, 192, 192),
                                  qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(255, 255, 0),
                                  qRgb(0, 0, 255),   qRgb(255, 0, 255), qRgb(0, 255, 255),   qRgb(255, 255, 255)};
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int i = (x + 3 * y) % colours;
      img.setPixel(x, y, colours <= 16 ? kClassic[i] : qRgb(i, 255 - i, (i * 7) & 255));
    }
  return img;
}

template <typename F>
QByteArray Written(F write) {
  QByteArray bytes;
  QBuffer b(&bytes);
  b.open(QIODevice::WriteOnly);
  write(b);
  return bytes;
}

template <typename F>
void ReadFrom(QByteArray bytes, F read) {
  QBuffer b(&bytes);
  b.open(QIODevice::ReadOnly);
  read(b);
}

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// An image item of `n` images, image k filled with grey level 10 k.
std::unique_ptr<CtlImageListItem> Numbered(int w, int h, int n) {
  auto item = CtlImageListItem::CreateSize(w, h);
  for (int k = 0; k < n; ++k) {
    const QImage img = Solid(w, h, qRgb(10 * k, 10 * k, 10 * k));
    item->Add(&img);
  }
  return item;
}

}  // namespace

TEST(BitmapFile, ExactBytesSizesAndReadBack) {
  EXPECT_EQ(BuildDIBFile(Solid(1, 1, kRed), 0),
            Hex("424d3a000000000000003600000028000000010000000100000001001800000000000400000000000000000000000000"
                "0000000000000000ff00"));
  struct Case {
    int w, h, colours, file, offset, image;
  };
  for (const Case c : {Case{16, 16, 2, 126, 62, 64}, Case{360, 20, 0, 21654, 54, 21600}, Case{736, 16, 16, 6006, 118, 5888},
                       Case{736, 16, 256, 12854, 1078, 11776}}) {
    const QImage pic = c.colours == 2 ? Stripes(c.w, c.h, 1) : Stripes(c.w, c.h, c.colours == 0 ? 200 : c.colours == 16 ? 16 : 200);
    const QByteArray file = BuildDIBFile(pic, c.colours);
    EXPECT_EQ(file.size(), c.file) << c.w;
    EXPECT_EQ(static_cast<unsigned char>(file[10]) | (static_cast<unsigned char>(file[11]) << 8), c.offset);
    const CtlBitmapInfoHeader h = InitBitmapInfoHeader(pic, c.colours);
    int info = 0, image = 0;
    BitmapInfoSizes(h, info, image);
    EXPECT_EQ(image, c.image);
    const QImage back = ReadBMP(file);
    ASSERT_EQ(back.size(), pic.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), pic) << c.w << " colours " << c.colours;
  }
  // Two colours split at R + G + B = 384; more than 256 colours fall back to the cube.
  QImage grey(2, 1, QImage::Format_RGB32);
  grey.setPixel(0, 0, qRgb(128, 128, 127));
  grey.setPixel(1, 0, qRgb(128, 128, 128));
  const QImage two = ReadBMP(BuildDIBFile(grey, 2));
  EXPECT_EQ(two.format(), QImage::Format_Mono);
  EXPECT_EQ(two.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(two.pixel(1, 0), qRgb(255, 255, 255));
  QImage many(300, 1, QImage::Format_RGB32);
  for (int x = 0; x < 300; ++x) many.setPixel(x, 0, qRgb(x % 256, x / 256 * 100, 7));
  EXPECT_EQ(ReadBMP(BuildDIBFile(many, 256)).pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(MessageOf([] { BuildDIBFile(QImage(), 0); }), "Image bitmap incorrecte");
}

TEST(BitmapFile, BadFilesRaiseReadErrors) {
  QByteArray file = BuildDIBFile(Solid(4, 4, kRed), 0);
  EXPECT_THROW(ReadBMP(file.left(10)), CtlReadError);
  QByteArray far = file;
  far[10] = static_cast<char>(0xFF);  // bits past the end
  EXPECT_THROW(ReadBMP(far), CtlReadError);
  QByteArray header = file;
  header[15] = static_cast<char>(0x7F);  // info header past the end
  EXPECT_THROW(ReadBMP(header), CtlReadError);
  EXPECT_THROW(ReadBMP("BMxxxxxxxxxxxxxxxxxxxx"), CtlReadError);
  // A plain field whose length passes the end.
  EXPECT_THROW(ReadFrom(Hex("ff000000424d"), [](QIODevice& s) { ReadBitmapFromStream(s, false); }), CtlReadError);
}

TEST(ListItems, ImageAndBitmapItemBytes) {
  auto large = Numbered(40, 20, 9);
  large->Description = "Grandes icones";
  const QByteArray bytes = Written([&](QIODevice& s) { large->WriteToStream(s); });
  EXPECT_TRUE(bytes.startsWith(Hex("020e4772616e6465732069636f6e657314000000280000000400000000090000009654000042" "4d")));
  CtlImageListItem back;
  ReadFrom(bytes, [&](QIODevice& s) { back.ReadFromStream(s); });
  ASSERT_EQ(back.Count(), 9);
  EXPECT_EQ(back.Description, "Grandes icones");
  for (int k = 0; k < 9; ++k) EXPECT_EQ(back.GetImage(k), large->GetImage(k)) << k;

  CtlBitmapListItem red;
  red.SetBitmap(Solid(1, 1, kRed));
  const QByteArray plain = Written([&](QIODevice& s) { red.WriteToStream(s); });
  EXPECT_EQ(plain, Hex("083a000000") + BuildDIBFile(Solid(1, 1, kRed), 0));
  red.Compressed = true;
  EXPECT_EQ(Written([&](QIODevice& s) { red.WriteToStream(s); }),
            Hex("09 24000000 20000000 40 0a a8 42 4d 3a 00 00 13 36 00 70 28 00 40 01 00 46 18 00 a0 00 00 04 80 00 00 00 05 00 ff 00"));

  CtlBitmapList list;
  list.AddBitmap(Solid(1, 1, kRed));
  QTemporaryDir dir;
  const QString name = dir.filePath("one.bmp");
  list.SaveToFile(name);
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray file = f.readAll();
  EXPECT_EQ(file.size(), 80);
  EXPECT_TRUE(file.startsWith(Hex("08 43746c424d4c3330 01000000 11000000 08")));
}

TEST(ListItems, EdgesOfTheItemFormat) {
  CtlImageListItem empty;
  EXPECT_EQ(Written([&](QIODevice& s) { empty.WriteToStream(s); }), Hex("00 10000000 10000000 04000000 00 00000000"));
  CtlImageListItem read_empty;
  read_empty.SetWidth(30);
  ReadFrom(Hex("00 10000000 10000000 04000000 00 00000000"), [&](QIODevice& s) { read_empty.ReadFromStream(s); });
  EXPECT_EQ(read_empty.Count(), 0);
  EXPECT_EQ(read_empty.Width(), 16);  // the sizes inside the data replace those set before
  EXPECT_EQ(read_empty.Strip().width(), 0);

  auto five = Numbered(16, 16, 5);
  EXPECT_EQ(five->Strip().width(), 128);  // slots grow by AllocBy
  CtlImageListItem five_back;
  ReadFrom(Written([&](QIODevice& s) { five->WriteToStream(s); }), [&](QIODevice& s) { five_back.ReadFromStream(s); });
  EXPECT_EQ(five_back.Strip().width(), 80);
  EXPECT_EQ(five_back.UsedWidth(), 80);

  CtlBitmapListItem no_picture;
  no_picture.PixelFormat = spf8bit;
  EXPECT_EQ(Written([&](QIODevice& s) { no_picture.WriteToStream(s); }), Hex("40"));

  // 23 images of 32 × 16: 736 × 16 at 24 bits is more than one chunk.
  auto small = Numbered(32, 16, 23);
  small->Compressed = true;
  const QByteArray packed = Written([&](QIODevice& s) { small->WriteToStream(s); });
  CtlImageListItem small_back;
  ReadFrom(packed, [&](QIODevice& s) { small_back.ReadFromStream(s); });
  ASSERT_EQ(small_back.Count(), 23);
  EXPECT_TRUE(small_back.Compressed);
  for (int k = 0; k < 23; ++k) ASSERT_EQ(small_back.GetImage(k), small->GetImage(k)) << k;

  // Masked items carry their mask; save formats travel in the flags.
  auto masked = Numbered(8, 8, 2);
  masked->SetMasked(true);
  QImage pic = Solid(8, 8, qRgb(255, 0, 255));
  pic.setPixel(3, 3, kRed);
  masked->ReplaceMasked(1, pic, CtlRgb(255, 0, 255));
  masked->PixelFormat = spf4bit;
  CtlImageListItem masked_back;
  ReadFrom(Written([&](QIODevice& s) { masked->WriteToStream(s); }), [&](QIODevice& s) { masked_back.ReadFromStream(s); });
  EXPECT_TRUE(masked_back.Masked());
  EXPECT_EQ(masked_back.PixelFormat, spf4bit);
  EXPECT_EQ(masked_back.MaskStrip().pixel(8, 0), qRgb(255, 255, 255));
  EXPECT_EQ(masked_back.MaskStrip().pixel(11, 3), qRgb(0, 0, 0));
}

TEST(ImageLists, NeutralAnswersAndLimits) {
  CtlImageList list;
  list.Add(Numbered(40, 20, 3));
  for (auto [l, k] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 3}}) {
    EXPECT_FALSE(list.IsValidImage(l, k));
    EXPECT_EQ(list.GetTransparentColor(l, k), clWhite);
    EXPECT_EQ(list.GetPixel(l, QPoint(0, 0), k), clWhite);
    EXPECT_TRUE(list.GetImage(l, k).isNull());
    QImage canvas = Solid(50, 30, kRed);
    QPainter p(&canvas);
    list.Draw(p, 0, 0, l, k);
    list.DrawInRect(p, QRect(0, 0, 50, 30), l, k, 0);
    p.end();
    EXPECT_EQ(canvas, Solid(50, 30, kRed));
  }
  EXPECT_EQ(list.GetImageCount(-1), -1);
  EXPECT_EQ(list.GetImageCount(1), -1);
  EXPECT_EQ(list.GetDimension(1, 0), 0);
  EXPECT_EQ(list.GetImageCount(0), 3);
  EXPECT_EQ(list.GetDimension(0, 1), 20);
  EXPECT_EQ(list.GetTransparentColor(0, 2), CtlRgb(20, 20, 20));
  CtlBitmapList bitmaps;
  EXPECT_EQ(bitmaps.GetImageCount(0), 0);
  EXPECT_FALSE(bitmaps.IsValidImage(-1, 0));

  CtlImageListItem* item = list.Item(0);
  const QImage wrong = Solid(41, 20, kRed);
  EXPECT_EQ(MessageOf([&] { item->Add(&wrong); }), "Taille d'image incorrecte");
  EXPECT_EQ(item->Count(), 3);
  EXPECT_THROW(CtlImageListItem::CreateSize(0, 5), CtlInvalidGraphicOperation);

  auto full = CtlImageListItem::CreateSize(16, 4);
  for (int i = 0; i < 2048; ++i) full->Add(nullptr);
  EXPECT_EQ(full->UsedWidth(), 32768);
  EXPECT_EQ(MessageOf([&] { full->Add(nullptr); }), "Trop d'images");
  EXPECT_EQ(full->Count(), 2048);
  EXPECT_EQ(full->UsedWidth(), 32768);
  EXPECT_EQ(full->Strip().width(), 32768);
}

TEST(ImageLists, DrawingStylesAndPictureOperations) {
  auto item = CtlImageListItem::CreateSize(4, 4);
  item->SetMasked(true);
  QImage pic = Solid(4, 4, qRgb(255, 0, 255));
  pic.setPixel(1, 1, kRed);
  item->Add(&pic);
  item->ReplaceMasked(0, pic, CtlRgb(255, 0, 255));
  CtlImageList list;
  list.Add(std::move(item));
  // Transparent by default: only the red pixel lands.
  QImage canvas = Solid(6, 6, qRgb(0, 0, 255));
  {
    QPainter p(&canvas);
    list.Draw(p, 1, 1, 0, 0);
  }
  EXPECT_EQ(canvas.pixel(2, 2), kRed);
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 255));
  // Dimmed style 1: background, then the dim colour at x + y odd.
  CtlImageListItem* it = list.Item(0);
  it->DrawingStyle = 1;
  it->BkColor = clWhite;
  it->DimColor = clBlack;
  QImage dim = Solid(4, 4, qRgb(0, 0, 255));
  {
    QPainter p(&dim);
    list.Draw(p, 0, 0, 0, 0);
  }
  EXPECT_EQ(dim.pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(dim.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(dim.pixel(1, 1), kRed);
  EXPECT_EQ(dim.pixel(2, 1), qRgb(0, 0, 0));
  // A bitmap list places its picture with the style word.
  CtlBitmapList bitmaps;
  bitmaps.AddBitmap(Solid(2, 2, kRed));
  QImage placed = Solid(6, 6, qRgb(0, 0, 255));
  QPainter p(&placed);
  EXPECT_EQ(bitmaps.DrawInRect(p, QRect(0, 0, 6, 6), 0, 0, dbCenter), QRect(2, 2, 2, 2));
  EXPECT_EQ(bitmaps.GetPixel(0, QPoint(1, 1), 0), CtlRgb(255, 0, 0));
}

TEST(Containers, NotificationsAndLinks) {
  CtlImageList source;
  for (int i = 0; i < 3; ++i) source.Add(Numbered(8, 8, 1));
  const QByteArray stream = Written([&](QIODevice& s) { source.SaveItems(s, true); });

  CtlImageList list;
  int events = 0, link_calls = 0;
  list.OnChange = [&](CtlCustomComponent* sender) {
    ++events;
    EXPECT_EQ(sender, &list);
  };
  CtlChangeLink link([&](CtlBaseContainer* c) {
    ++link_calls;
    EXPECT_EQ(c, &list);
  });
  list.AddLink(&link);
  ReadFrom(stream, [&](QIODevice& s) { list.LoadItems(s, true); });
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(link_calls, 4);

  // An item change reaches the container's event with the item as sender, not the links.
  CtlCustomComponent* sender = nullptr;
  list.OnChange = [&](CtlCustomComponent* s) { sender = s; };
  list.Item(1)->SetMasked(true);
  EXPECT_EQ(sender, list.Item(1));
  EXPECT_EQ(link_calls, 4);

  {
    CtlChangeLink second;
    list.AddLink(&second);
    EXPECT_EQ(list.LinkCount(), 2);
  }
  EXPECT_EQ(list.LinkCount(), 1);
  auto doomed = std::make_unique<CtlBitmapList>();
  CtlChangeLink orphan;
  doomed->AddLink(&orphan);
  doomed.reset();
  EXPECT_EQ(orphan.Container(), nullptr);

  CtlImageList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_TRUE(copy.Item(1)->Masked());
  EXPECT_EQ(copy.GetImage(0, 0), list.GetImage(0, 0));
}

TEST(Containers, ListFilesKindsAndCorruptData) {
  QTemporaryDir dir;
  CtlImageList images;
  for (int i = 0; i < 4; ++i) images.Add(Numbered(8, 8, i + 1));
  const QString iml = dir.filePath("four.iml");
  images.SaveToFile(iml);

  CtlBitmapList bitmaps;
  bitmaps.AddBitmap(Solid(3, 3, kRed));
  EXPECT_EQ(MessageOf([&] { bitmaps.LoadFromFile(iml); }), ("Cannot open file: " + iml).toStdString());
  EXPECT_EQ(bitmaps.Count(), 1);

  CtlImageListItem item;
  images.ReadItemFromFile(iml, 2, item);
  EXPECT_EQ(item.Count(), 3);
  EXPECT_EQ(MessageOf([&] { images.ReadItemFromFile(iml, 7, item); }), ("Cannot open file: " + iml).toStdString());
  EXPECT_EQ(MessageOf([&] { images.ReadItemFromFile(iml, -1, item); }), ("Cannot open file: " + iml).toStdString());
  EXPECT_EQ(item.Count(), 3);

  CtlImageList reread;
  reread.LoadFromFile(iml);
  ASSERT_EQ(reread.Count(), 4);
  EXPECT_EQ(reread.GetImage(3, 3), images.GetImage(3, 3));

  // A rich text list file has no list to read it.
  QByteArray rtf = Hex("08") + "CtlRTL30" + Hex("00000000");
  {
    QFile f(dir.filePath("x.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rtf);
  }
  EXPECT_THROW(reread.LoadFromFile(dir.filePath("x.rtf")), CtlError);

  QFile f(iml);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray good = f.readAll();
  const QByteArray body = good.mid(9);
  auto corrupt = [&](QByteArray bytes) {
    ReadFrom(bytes, [&](QIODevice& s) { EXPECT_THROW(reread.LoadItems(s, true), CtlReadError); });
    EXPECT_EQ(reread.Count(), 4);
    EXPECT_EQ(reread.GetImageCount(3), 4);
  };
  corrupt(body.left(body.size() - 7));
  QByteArray huge = body;
  huge.replace(0, 4, Hex("ffffff7f"));
  corrupt(huge);
  // The first item starts after the count and four offsets: its Width is at 4 + 16 + 1 + 4.
  QByteArray zero_width = body;
  zero_width.replace(25, 4, Hex("00000000"));
  corrupt(zero_width);
  QByteArray narrow = body;
  narrow.replace(29 + 4 + 1, 4, Hex("05000000"));  // five images in a one-image strip
  corrupt(narrow);
  QByteArray item_count = body;
  item_count.replace(29 + 4 + 1, 4, Hex("ffffff7f"));
  corrupt(item_count);
}

TEST(Containers, SharedContainerAndStringList) {
  CtlContainer* shared = CtlContainer::Instance();
  ASSERT_NE(shared, nullptr);
  int events = 0;
  shared->OnChange = [&](CtlCustomComponent*) { ++events; };
  shared->StringList()->Add();
  EXPECT_EQ(events, 1);
  auto* s = static_cast<CtlStringListItem*>(shared->StringList()->GetItem(0));
  s->Items.SetLines(QStringList{"a", "b"});
  s->Compressed = true;
  CtlStringListItem back;
  ReadFrom(Written([&](QIODevice& st) { s->WriteToStream(st); }), [&](QIODevice& st) { back.ReadFromStream(st); });
  EXPECT_EQ(back.Items.Lines(), QStringList({"a", "b"}));
  shared->StringList()->Clear();
  shared->OnChange = nullptr;
}

TEST(Containers, StorageModesFetchEmptyBitmapsOnFirstUse) {
  QTemporaryDir dir;
  CtlBitmapList stored;
  stored.AddBitmap(Solid(2, 2, kRed));
  stored.AddBitmap(Solid(3, 3, qRgb(0, 255, 0)));
  const QString file = dir.filePath("pics.bmp");
  stored.SaveToFile(file);
  {
    QFile bmp(dir.filePath("pic7.bmp"));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(BuildDIBFile(Solid(5, 5, qRgb(0, 0, 255)), 0));
  }
  CtlBitmapList list;
  list.PathPrefix = ppFixed;
  list.FileName = file;
  CtlBitmapListItem* from_list = static_cast<CtlBitmapListItem*>(list.Add());
  from_list->Ident = 1;
  CtlBitmapListItem* missing = static_cast<CtlBitmapListItem*>(list.Add());
  missing->Ident = 9;
  list.StorageMode = 1;
  EXPECT_EQ(list.GetImage(0, 0).size(), QSize(3, 3));
  EXPECT_FALSE(list.IsValidImage(1, 0));  // item 9 of a two-item file: stays empty
  list.StorageMode = 4;
  CtlBitmapListItem* from_file = static_cast<CtlBitmapListItem*>(list.Add());
  from_file->Ident = 7;
  EXPECT_EQ(list.GetImage(2, 0).pixel(0, 0), qRgb(0, 0, 255));
  list.StorageMode = 3;
  CtlBitmapListItem* none = static_cast<CtlBitmapListItem*>(list.Add());
  none->Ident = 1;
  EXPECT_FALSE(list.IsValidImage(3, 0));
}

TEST(Containers, StoredBitmapsComeFromThePrefixFolder) {
  // The prefix folder here is the per-user configuration folder, moved to a
  // temporary one; the container's own folder holds decoys.
  QTemporaryDir config, own;
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  const QString prefix = GetPrefixPath(ppWindows, true);
  ASSERT_TRUE(prefix.startsWith(config.path()));
  auto write_bmp = [](const QString& path, QRgb colour) {
    QFile bmp(path);
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(BuildDIBFile(Solid(4, 4, colour), 0));
  };
  write_bmp(prefix + "pic12.bmp", qRgb(0, 0, 255));
  write_bmp(own.filePath("pic12.bmp"), kRed);
  CtlBitmapList stored;
  stored.AddBitmap(Solid(6, 6, qRgb(0, 255, 0)));
  stored.SaveToFile(prefix + "pics.bmp");

  CtlBitmapList list;
  list.PathPrefix = ppWindows;
  list.FileName = own.filePath("pics.bmp");
  EXPECT_EQ(list.StoragePath(), prefix + "pics.bmp");
  list.StorageMode = 4;
  auto* from_file = static_cast<CtlBitmapListItem*>(list.Add());
  from_file->Ident = 12;
  EXPECT_EQ(list.GetImage(0, 0).pixel(0, 0), qRgb(0, 0, 255));
  list.StorageMode = 1;
  auto* from_list = static_cast<CtlBitmapListItem*>(list.Add());
  from_list->Ident = 0;
  EXPECT_EQ(list.GetImage(1, 0).size(), QSize(6, 6));

  // With the program's folder, which holds no such picture, the item stays empty.
  CtlBitmapList program;
  program.FileName = own.filePath("pics.bmp");
  program.StorageMode = 4;
  static_cast<CtlBitmapListItem*>(program.Add())->Ident = 12;
  EXPECT_FALSE(program.IsValidImage(0, 0));
  CtlBitmapList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.PathPrefix, ppWindows);
  if (old.isEmpty())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", old);
}

TEST(Containers, WaveItemsRoundTripPlainAndPacked) {
  QByteArray riff("RIFF");
  riff += Hex("24000000") + "WAVEfmt " + Hex("10000000 0100 0100 401f0000 401f0000 0100 0800") + "data" + Hex("00000000");
  CtlWaveList list;
  auto* item = static_cast<CtlWaveListItem*>(list.Add());
  ReadFrom(riff, [&](QIODevice& s) { item->Wave.LoadFromStream(s); });
  item->Description = "ding";
  EXPECT_EQ(item->GetFlags(), 2 | 8);
  for (bool packed : {false, true}) {
    item->Compressed = packed;
    CtlWaveList back;
    ReadFrom(Written([&](QIODevice& s) { list.SaveItems(s, false); }), [&](QIODevice& s) { back.LoadItems(s, false); });
    ASSERT_EQ(back.Count(), 1);
    auto* w = static_cast<CtlWaveListItem*>(back.GetItem(0));
    EXPECT_EQ(w->Description, "ding");
    EXPECT_EQ(w->Wave.Size(), riff.size()) << packed;
  }
  EXPECT_EQ(CtlContainer::Instance()->WaveList()->Kind(), ckWaveList);
}
