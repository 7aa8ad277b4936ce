// Painters of the program's own pictures: the glyph strips of the image list,
// the tiles, landscape and logo of the bitmap list and the check-box marks.
// `ctlpack pictures` packs them into the committed list files; the program
// itself only reads those files.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "controls/imagelist.h"

namespace pictures {

// Indexes of the small icons used again in the larger glyph items.
enum : int { kOpen = 0, kCancel = 1, kSave = 2, kRefresh = 7, kHelp = 14, kExit = 15, kOk = 16, kPrint = 17,
             kCopy = 18, kClose = 22 };

// One item of the image list: its Description, image size and images.
struct ImageItem {
  QString description;
  int width, height;
  std::vector<QImage> images;
};
std::vector<ImageItem> ImageItems();

constexpr int kBitmapCount = 6;
inline const char* const kBitmapNames[kBitmapCount] = {"Panel", "Dialog", "Card", "Background", "Logo", "Import"};
QImage BitmapPicture(int index);
QImage Marks();  // the check-box marks, six 13 × 13 cells

// The three lists of the image data module, as the list files hold them.
void FillLists(CtlImageList& images, CtlBitmapList& bitmaps, CtlBitmapList& glyphs);

}  // namespace pictures
