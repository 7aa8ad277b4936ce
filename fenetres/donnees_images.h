// The image data module: the picture lists every form takes its pictures
// from, created before the main window.
#pragma once

#include <QIcon>
#include <QImage>

#include "controls/imagelist.h"

// Which picture serves what; one table for the whole program.
namespace images {
// Items of ImageList.
constexpr int kSmallIcons = 0;   // "Petites icones", 32 x 16: two 16 x 16 cells (up, disabled)
constexpr int kLargeIcons = 1;   // "Grandes icones", 40 x 20
constexpr int kMediumIcons = 2;  // "Moyennes icones ", 36 x 18
constexpr int kLargeImages = 3;  // "Grandes images", 32 x 32
// Images of "Petites icones".
enum SmallIcon {
  iconOpen = 0, iconCancel = 1, iconSave = 2, iconNew = 3, iconCreationOptions = 4, iconEditor = 5, iconView = 6,
  iconRefresh = 7, iconViewOptions = 8, iconVideo = 9, iconVideoOptions = 10, iconImport = 11, iconExplorer = 12,
  iconIndex = 13, iconHelp = 14, iconExit = 15, iconOk = 16, iconPrint = 17, iconCopy = 18, iconTrees = 19,
  iconRefine = 20, iconDuplicate = 21, iconClose = 22, kSmallIconCount = 23
};
// Items of BitmapList.
constexpr int kPanelTile = 0;     // tool bar back panel
constexpr int kDialogTile = 1;    // option dialog pages
constexpr int kCardTile = 2;      // mountain card
constexpr int kBackground = 3;    // progress window fill, main window background
constexpr int kLogo = 4;          // the logo in picture controls
constexpr int kImportTile = 5;    // import window strip
}  // namespace images

class TData {
 public:
  // Reads the three lists from the program's embedded list files; without
  // pictures they stay empty and the controls degrade as for missing entries.
  explicit TData(bool with_pictures = true);
  ~TData();
  TData(const TData&) = delete;
  TData& operator=(const TData&) = delete;

  static TData* Instance();  // the module created first; null before

  CtlImageList ImageList;
  CtlBitmapList BitmapList;
  CtlBitmapList GlyphsList;

  // The explorer tree's 16 x 16 images: 0 mountain, 1 view, 4 mountain selected,
  // 5 editor, 7 video; olive (128, 128, 0) is transparent.
  QImage SmallImages() const { return small_images_; }
  // The program's own icon (its "MAINICON"): the logo of "Grandes images" at
  // 32 x 32, with a 16 x 16 copy for title bars; null without pictures.
  QIcon ProgramIcon() const;
  static QImage SmallImage(const QImage& strip, int index);

 private:
  QImage small_images_;
};
