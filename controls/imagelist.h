// Picture containers: image lists (per item a strip of equal images, with an
// optional mask strip) and bitmap lists (one picture per item), string and wave lists,
// their byte-exact item format, whole-list streams and list files, and the
// change links through which controls hear of changes. Controls name a
// picture by (list index l, image index k) and hold a CtlCustomImageList.
//
// Item head: a flags byte (bit 0 compressed, bit 1 Description, bit 2 Ident,
// bit 3 content, bits 4/5/6 the 2/16/256-colour save formats), then the
// Description (length byte + Latin-1) and the Ident (int32) when flagged.
// List file: a length byte 8, the eight-character signature of the kind, the
// item count, one int32 offset per item, then the items.
#pragma once

#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/ctlobject.h"
#include "controls/ctlutils.h"
#include "controls/paintkit.h"
#include "controls/streams.h"
#include "controls/wave.h"

class CtlBaseContainer;
class CtlCustomContainer;

enum CtlSavePixelFormat : std::uint8_t { spfDefault, spfMono, spf4bit, spf8bit };
// Colour count of a save format (0: the picture's own form).
int SavePixelColours(CtlSavePixelFormat f);

// A client's subscription to a container's list changes.
class CtlChangeLink {
 public:
  explicit CtlChangeLink(std::function<void(CtlBaseContainer*)> on_change = {}) : OnChange(std::move(on_change)) {}
  ~CtlChangeLink();
  CtlChangeLink(const CtlChangeLink&) = delete;
  CtlChangeLink& operator=(const CtlChangeLink&) = delete;

  CtlBaseContainer* Container() const { return container_; }
  std::function<void(CtlBaseContainer*)> OnChange;

 private:
  friend class CtlBaseContainer;
  CtlBaseContainer* container_ = nullptr;
};

class CtlBaseContainer : public CtlComponent {
  Q_OBJECT
 public:
  using CtlComponent::CtlComponent;
  ~CtlBaseContainer() override;

  void AddLink(CtlChangeLink* link);
  void RemoveLink(CtlChangeLink* link);
  int LinkCount() const { return static_cast<int>(links_.size()); }

 protected:
  // Every link in order, then the change event (skipped while updating).
  void Notify();

 private:
  std::vector<CtlChangeLink*> links_;
};

class CtlListItem : public CtlComponent {
  Q_OBJECT
 public:
  QString Description;
  std::uint16_t Ident = 0;
  bool Compressed = false;
  CtlSavePixelFormat PixelFormat = spfDefault;

  CtlCustomContainer* Container() const { return container_; }

  virtual void Clear() = 0;
  virtual bool IsEmpty() const = 0;
  // The "Internal" data of the item: head, then the item's body.
  virtual void ReadFromStream(QIODevice& stream);
  virtual void WriteToStream(QIODevice& stream) const;
  virtual std::uint8_t GetFlags() const;
  // Copies every field and the pictures of an item of the same class.
  virtual void Assign(const CtlListItem& source);

 protected:
  // The item's own change event, then its container's with the item as sender.
  void ItemChanged();
  // Reads the head; returns the flags byte.
  std::uint8_t ReadHead(QIODevice& stream);
  void WriteHead(QIODevice& stream) const;

 private:
  friend class CtlCustomContainer;
  CtlCustomContainer* container_ = nullptr;
};

class CtlBitmapListItem : public CtlListItem {
  Q_OBJECT
 public:
  // The picture; with a storage mode other than 0 an empty one is fetched on first use.
  const QImage& Bitmap() const;
  void SetBitmap(const QImage& bmp);

  void Clear() override;
  bool IsEmpty() const override { return Bitmap().isNull(); }
  void ReadFromStream(QIODevice& stream) override;
  void WriteToStream(QIODevice& stream) const override;
  std::uint8_t GetFlags() const override;
  void Assign(const CtlListItem& source) override;

 private:
  mutable QImage bitmap_;
  mutable bool fetched_ = false;
};

class CtlImageListItem : public CtlListItem {
  Q_OBJECT
 public:
  CtlImageListItem();
  // Both sizes set; below 1 raises "Taille d'image incorrecte".
  static std::unique_ptr<CtlImageListItem> CreateSize(int width, int height);

  int AllocBy = 4;
  CtlColor BkColor = clNone;
  CtlColor DimColor = clNone;
  std::uint8_t DrawingStyle = 2;  // 0 and 1 dimmed, 2 normal, 3 transparent
  bool DrawWithoutMask = false;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Masked() const { return masked_; }
  // A value below 1 or the current one does nothing; otherwise the item is cleared.
  void SetWidth(int w);
  void SetHeight(int h);
  void SetMasked(bool masked);

  int Count() const { return static_cast<int>(table_.size()); }
  int UsedWidth() const { return used_; }
  const QImage& Strip() const { return strip_; }
  const QImage& MaskStrip() const { return mask_; }
  int ImageOffset(int k) const { return static_cast<std::int16_t>(table_[static_cast<std::size_t>(k)] & 0xFFFF); }
  std::uint32_t TableEntry(int k) const { return table_[static_cast<std::size_t>(k)]; }
  bool ValidIndex(int k) const { return k >= 0 && k < Count(); }

  // Adds the images of a picture Height high and a multiple of Width wide
  // (and their mask when masked); with neither picture, one empty slot.
  // Returns the index of the first. "Taille d'image incorrecte" or "Trop
  // d'images" (past 32768 pixels) change nothing.
  int Add(const QImage* image, const QImage* mask = nullptr);
  // Adds every image of another item of the same sizes.
  void Append(const CtlImageListItem& other);
  // Copies image k and its mask cell (black without a mask).
  void Replace(int k, const QImage& image, const QImage* mask = nullptr);
  // When masked, image and mask are split from the picture by the transparent colour first.
  void ReplaceMasked(int k, const QImage& picture, CtlColor transparent);
  QImage GetImage(int k) const;
  // Image k at (x, y) by the drawing style.
  void Draw(QPainter& p, int x, int y, int k) const;

  void Clear() override;
  bool IsEmpty() const override { return Count() == 0; }
  void ReadFromStream(QIODevice& stream) override;
  void WriteToStream(QIODevice& stream) const override;
  void Assign(const CtlListItem& source) override;

 private:
  void ClearPictures();
  void RebuildTable(int n);
  // Makes room for `extra` more pixels of used width; raises before changing anything.
  void Reserve(int extra);

  int width_ = 16, height_ = 16, used_ = 0;
  bool masked_ = false;
  QImage strip_, mask_;
  std::vector<std::uint32_t> table_;
};

class CtlStringListItem : public CtlListItem {
  Q_OBJECT
 public:
  CtlStrings Items;
  void Clear() override;
  bool IsEmpty() const override { return Items.IsEmpty(); }
  void ReadFromStream(QIODevice& stream) override;
  void WriteToStream(QIODevice& stream) const override;
  std::uint8_t GetFlags() const override;
  void Assign(const CtlListItem& source) override;
};

class CtlWaveListItem : public CtlListItem {
  Q_OBJECT
 public:
  CtlWave Wave;
  void Clear() override;
  bool IsEmpty() const override { return Wave.IsEmpty(); }
  void ReadFromStream(QIODevice& stream) override;
  void WriteToStream(QIODevice& stream) const override;
  std::uint8_t GetFlags() const override;
  void Assign(const CtlListItem& source) override;
};

// List kinds, their signatures and file extensions; kind 5 is no known kind.
enum CtlContainerKind : int { ckImageList = 0, ckBitmapList = 1, ckWaveList = 2, ckStringList = 3, ckRichText = 4,
                              ckUnknown = 5 };
const char* ContainerSignature(int kind);
const char* ContainerExtension(int kind);

class CtlCustomContainer : public CtlBaseContainer {
  Q_OBJECT
 public:
  explicit CtlCustomContainer(int kind, QObject* owner = nullptr) : CtlBaseContainer(owner), kind_(kind) {}
  ~CtlCustomContainer() override;

  int Kind() const { return kind_; }
  int Count() const { return static_cast<int>(items_.size()); }
  CtlListItem* GetItem(int index) const;
  void ForEachItem(const std::function<void(CtlListItem*)>& procedure) const;
  // A new item of the list's class, not yet in the list.
  virtual std::unique_ptr<CtlListItem> NewItem() const = 0;
  CtlListItem* Add(std::unique_ptr<CtlListItem> item);
  CtlListItem* Add() { return Add(NewItem()); }
  void Clear();
  virtual void Assign(const CtlCustomContainer& source);

  // Whole-list streams, with or without the offset table. A stream that does
  // not read to its end raises CtlReadError and leaves the list as it was.
  void SaveItems(QIODevice& stream, bool offsets) const;
  void LoadItems(QIODevice& stream, bool offsets);
  // List files; another kind raises "Cannot open file: <name>".
  void SaveToFile(const QString& file) const;
  void LoadFromFile(const QString& file);
  // Reads item k of a list file of this kind into `item`.
  void ReadItemFromFile(const QString& file, int k, CtlListItem& item) const;
  // The kind named by a stream's signature (ckUnknown when none matches).
  static int ReadKind(QIODevice& stream);

  // Storage of bitmap items outside the stream: 0 in the stream, 1 item Ident
  // of the list file StoragePath(), 2 the resource ":/ctl/bitmaps/<Ident>.bmp",
  // 3 none, 4 the file <prefix folder>/<first three letters of the file
  // name><Ident>.bmp.
  std::uint8_t StorageMode = 0;
  CtlPathPrefix PathPrefix = ppProgram;
  QString FileName;
  // The list file: the prefix folder and the file name part of FileName, or
  // FileName as it is with ppFixed.
  QString StoragePath() const;

 private:
  int kind_;
  std::vector<std::unique_ptr<CtlListItem>> items_;
};

// Picture operations shared by image and bitmap lists; out-of-range indexes
// give the neutral answers and never raise.
class CtlCustomImageList : public CtlCustomContainer {
  Q_OBJECT
 public:
  using CtlCustomContainer::CtlCustomContainer;
  bool DefaultCompressed = false;
  CtlSavePixelFormat DefaultPixelFormat = spfDefault;

  void Assign(const CtlCustomContainer& source) override;

  virtual const QImage* GetCanvas(int l) const = 0;
  virtual QRect GetImageRect(int l, int k) const = 0;
  virtual int GetDimension(int l, int which) const = 0;  // 0 width, 1 height
  virtual int GetImageCount(int l) const = 0;
  virtual bool IsValidImage(int l, int k) const = 0;
  virtual QImage GetImage(int l, int k) const = 0;
  virtual bool GetMasked(int l) const = 0;
  int GetPalette(int) const { return 0; }  // no palettes on a true-colour display
  virtual CtlColor GetTransparentColor(int l, int k) const = 0;
  virtual CtlColor GetPixel(int l, QPoint point, int k) const = 0;
  virtual void Draw(QPainter& p, int x, int y, int l, int k) const = 0;
  // Returns the rectangle drawn (the given one when nothing is).
  virtual QRect DrawInRect(QPainter& p, const QRect& r, int l, int k, unsigned style) const = 0;
  virtual void DrawExt(QPainter& p, const QRect& r, int l, int k, CtlColor transparent, std::uint32_t offset,
                       unsigned style) const = 0;

 protected:
  bool InRange(int l) const { return l >= 0 && l < Count(); }
};

class CtlImageList : public CtlCustomImageList {
  Q_OBJECT
 public:
  explicit CtlImageList(QObject* owner = nullptr) : CtlCustomImageList(ckImageList, owner) {}
  std::unique_ptr<CtlListItem> NewItem() const override;
  CtlImageListItem* Item(int l) const { return static_cast<CtlImageListItem*>(GetItem(l)); }
  // Appends an empty item of the sizes.
  CtlImageListItem* AddItem(int width, int height, const QString& description = QString());

  const QImage* GetCanvas(int l) const override;
  QRect GetImageRect(int l, int k) const override;
  int GetDimension(int l, int which) const override;
  int GetImageCount(int l) const override;
  bool IsValidImage(int l, int k) const override;
  QImage GetImage(int l, int k) const override;
  bool GetMasked(int l) const override;
  CtlColor GetTransparentColor(int l, int k) const override;
  CtlColor GetPixel(int l, QPoint point, int k) const override;
  void Draw(QPainter& p, int x, int y, int l, int k) const override;
  QRect DrawInRect(QPainter& p, const QRect& r, int l, int k, unsigned style) const override;
  void DrawExt(QPainter& p, const QRect& r, int l, int k, CtlColor transparent, std::uint32_t offset,
               unsigned style) const override;

 private:
  const CtlImageListItem* Valid(int l, int k) const;
};

class CtlBitmapList : public CtlCustomImageList {
  Q_OBJECT
 public:
  explicit CtlBitmapList(QObject* owner = nullptr) : CtlCustomImageList(ckBitmapList, owner) {}
  std::unique_ptr<CtlListItem> NewItem() const override;
  CtlBitmapListItem* Item(int l) const { return static_cast<CtlBitmapListItem*>(GetItem(l)); }
  // Appends an item holding the picture.
  CtlBitmapListItem* AddBitmap(const QImage& bmp, const QString& description = QString());

  const QImage* GetCanvas(int l) const override;
  QRect GetImageRect(int l, int k) const override;
  int GetDimension(int l, int which) const override;
  int GetImageCount(int l) const override;
  bool IsValidImage(int l, int k) const override;
  QImage GetImage(int l, int k) const override;
  bool GetMasked(int) const override { return false; }
  CtlColor GetTransparentColor(int l, int k) const override;
  CtlColor GetPixel(int l, QPoint point, int k) const override;
  void Draw(QPainter& p, int x, int y, int l, int k) const override;
  QRect DrawInRect(QPainter& p, const QRect& r, int l, int k, unsigned style) const override;
  void DrawExt(QPainter& p, const QRect& r, int l, int k, CtlColor transparent, std::uint32_t offset,
               unsigned style) const override;

 private:
  const QImage* Picture(int l) const;
};

class CtlStringList : public CtlCustomContainer {
  Q_OBJECT
 public:
  explicit CtlStringList(QObject* owner = nullptr) : CtlCustomContainer(ckStringList, owner) {}
  std::unique_ptr<CtlListItem> NewItem() const override;
};

class CtlWaveList : public CtlCustomContainer {
  Q_OBJECT
 public:
  explicit CtlWaveList(QObject* owner = nullptr) : CtlCustomContainer(ckWaveList, owner) {}
  std::unique_ptr<CtlListItem> NewItem() const override;
};

// The process-wide container with one list of each kind, made on first use.
class CtlContainer : public CtlBaseContainer {
  Q_OBJECT
 public:
  static CtlContainer* Instance();
  CtlBitmapList* BitmapList() { return &bitmaps_; }
  CtlImageList* ImageList() { return &images_; }
  CtlStringList* StringList() { return &strings_; }
  CtlWaveList* WaveList() { return &waves_; }

 private:
  CtlContainer();
  CtlBitmapList bitmaps_;
  CtlImageList images_;
  CtlStringList strings_;
  CtlWaveList waves_;
};
