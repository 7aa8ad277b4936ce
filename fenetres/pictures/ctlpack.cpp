// ctlpack: makes and inspects list files of the control library.
//   ctlpack pictures <folder>                       the program's three list files
//   ctlpack dump <file>                             kind, count and items
//   ctlpack extract <file> <item> [<image>] <out.bmp>  one picture as a BMP file
//   ctlpack verify <file>                           reads and writes the list again; fails on a difference
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <iostream>
#include <memory>

#include "fenetres/pictures/peintures.h"
#include "controls/bitmapfile.h"
#include "controls/ctlerror.h"
#include "controls/imagelist.h"
#include "platform/fichiers.h"

namespace {

int Usage() {
  std::cerr << "usage: ctlpack pictures <folder> | dump <file> | extract <file> <item> [<image>] <out.bmp> | "
               "verify <file>\n";
  return 2;
}

std::unique_ptr<CtlCustomContainer> OpenList(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) throw CtlError(("Cannot open file: " + file).toStdString());
  std::unique_ptr<CtlCustomContainer> list;
  switch (CtlCustomContainer::ReadKind(f)) {
    case ckImageList: list = std::make_unique<CtlImageList>(); break;
    case ckBitmapList: list = std::make_unique<CtlBitmapList>(); break;
    case ckStringList: list = std::make_unique<CtlStringList>(); break;
    default: throw CtlError(("Cannot open file: " + file).toStdString());
  }
  list->LoadFromFile(file);
  return list;
}

int Pictures(const QString& folder) {
  QDir().mkpath(folder);
  CtlImageList images;
  CtlBitmapList bitmaps, glyphs;
  pictures::FillLists(images, bitmaps, glyphs);
  for (CtlCustomContainer* list : {static_cast<CtlCustomContainer*>(&images), static_cast<CtlCustomContainer*>(&bitmaps),
                                   static_cast<CtlCustomContainer*>(&glyphs)})
    list->ForEachItem([](CtlListItem* item) { item->Compressed = true; });
  images.SaveToFile(folder + "/ImageList.iml");
  bitmaps.SaveToFile(folder + "/BitmapList.bmp");
  glyphs.SaveToFile(folder + "/GlyphsList.bmp");
  return 0;
}

int Dump(const QString& file) {
  const auto list = OpenList(file);
  std::printf("kind %d (%s), %d items\n", list->Kind(), ContainerSignature(list->Kind()), list->Count());
  int i = 0;
  list->ForEachItem([&](CtlListItem* item) {
    std::printf("%d: flags 0x%02x \"%s\"", i, item->GetFlags(), item->Description.toLatin1().constData());
    if (auto* pics = dynamic_cast<CtlCustomImageList*>(list.get()))
      std::printf(" %d x %d, %d images", pics->GetDimension(i, 0), pics->GetDimension(i, 1),
                  pics->GetImageCount(i));
    std::printf("\n");
    ++i;
  });
  return 0;
}

int Extract(const QString& file, int l, int k, const QString& out) {
  const auto list = OpenList(file);
  auto* pics = dynamic_cast<CtlCustomImageList*>(list.get());
  if (!pics || !pics->IsValidImage(l, k)) {
    std::cerr << "no picture " << l << ", " << k << " in " << file.toStdString() << "\n";
    return 1;
  }
  const QByteArray bmp = BuildDIBFile(pics->GetImage(l, k), 0);
  const Echec e = ecrire_fichier(out.toLocal8Bit().toStdString(), std::string_view(bmp.constData(), bmp.size()));
  if (!e.empty()) {
    std::cerr << out.toStdString() << ": " << e << "\n";
    return 1;
  }
  return 0;
}

int Verify(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) throw CtlError(("Cannot open file: " + file).toStdString());
  const QByteArray original = f.readAll();
  const auto list = OpenList(file);
  QByteArray again;
  QBuffer b(&again);
  b.open(QIODevice::WriteOnly);
  WriteStreamByte(b, 8);
  b.write(ContainerSignature(list->Kind()), 8);
  list->SaveItems(b, true);
  if (again != original) {
    std::cerr << file.toStdString() << ": blocks differ when packed again\n";
    return 1;
  }
  std::printf("%s: %d items, every block packs again to the same bytes\n", file.toLocal8Bit().constData(),
              list->Count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList a = app.arguments();
  try {
    if (a.size() == 3 && a[1] == "pictures") return Pictures(a[2]);
    if (a.size() == 3 && a[1] == "dump") return Dump(a[2]);
    if (a.size() == 3 && a[1] == "verify") return Verify(a[2]);
    if ((a.size() == 5 || a.size() == 6) && a[1] == "extract") {
      bool ok1 = true, ok2 = true;
      const int l = a[3].toInt(&ok1);
      const int k = a.size() == 6 ? a[4].toInt(&ok2) : 0;
      if (!ok1 || !ok2) return Usage();
      return Extract(a[2], l, k, a.last());
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return Usage();
}
