// Icons: an icon keeps its icon file's bytes beside the picture Qt reads from
// them; a list of icons with change notification and its stream format; the
// icon clipboard format; and the reader of animated cursors (RIFF "ACON"
// files), whose frames are icons with rates and hot spots.
#pragma once

#include "components/graphiques.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

class QMimeData;

namespace components {

// One icon: the bytes of its icon file and the picture read from them.
class TIcon {
 public:
  TIcon() = default;
  // Reads an icon file's bytes; StreamReadError when they hold no icon.
  static TIcon FromBytes(const QByteArray& bytes);
  // The same check, but the picture read is let go and read again on first
  // use, so that the icon costs its bytes only until then (the frames of an
  // animated cursor). `size`, when given, receives the picture's size.
  static TIcon FromBytesDeferred(const QByteArray& bytes, QSize* size = nullptr);
  bool Empty() const { return bytes_.isEmpty(); }
  const QByteArray& Bytes() const { return bytes_; }
  const QImage& Image() const;
  bool operator==(const TIcon& other) const { return bytes_ == other.bytes_; }

 private:
  QByteArray bytes_;
  mutable QImage image_;
};

// "Resource %s not found".
class TResourceNotFound : public std::runtime_error {
 public:
  explicit TResourceNotFound(const QString& name);
};

// The icon file of a resource (see TIconList::AddResource).
TIcon LoadIconResource(const QString& module, const QString& name);

// The icon clipboard format: the icon file's bytes as "image/x-icon", with the picture beside them.
void IconToMimeData(const TIcon& icon, QMimeData& mime);
// The icon on the clipboard; an empty icon when there is none.
TIcon IconFromMimeData(const QMimeData& mime);

// A list of icons (a slot may be empty). Every change fires OnChange, once at
// the end of an update.
class TIconList {
 public:
  std::function<void()> OnChange;

  void BeginUpdate() { ++updates_; }
  void EndUpdate();
  int Count() const { return static_cast<int>(icons_.size()); }
  // The icon of a slot; null for an empty one.
  const TIcon* Get(int index) const;
  // Stores a copy; the index equal to the count appends a slot.
  void Put(int index, const TIcon& icon);
  int Add(const TIcon& icon);
  void Insert(int index, const TIcon& icon);
  // The icon file `name` of the program's resources under the resource folder
  // `module` (such as ":/icons"; empty for the root), added or inserted.
  // Throws TResourceNotFound when there is no such resource.
  int AddResource(const QString& module, const QString& name);
  void InsertResource(int index, const QString& module, const QString& name);
  // Appends an empty slot.
  int AddEmpty();
  void Delete(int index);
  void Clear();
  void Exchange(int i, int j);
  void Move(int current, int target);
  int IndexOf(const TIcon& icon) const;
  void Assign(const TIconList& other);
  void Assign(const TIcon& icon);

  // A 32-bit count, then per icon a 32-bit size and the icon file's bytes (size 0 for an empty slot).
  QByteArray SaveToStream() const;
  // The list read back (cleared first); StreamReadError on a broken stream.
  void LoadFromStream(const QByteArray& bytes);

 private:
  void changed();
  void check(int index, int limit) const;
  std::vector<std::optional<TIcon>> icons_;
  int updates_ = 0;
};

// One frame of an animated cursor.
struct TIconFrame {
  TIcon Icon;
  bool IsIcon = false;
  QByteArray Tag;  // the header of the chunk it came from
  QPoint HotSpot;
  std::uint32_t Rate = 0;  // jiffies (1/60 s)
  int StepIndex = -1;
};

// The "anih" header as stored.
struct TAniHeader {
  std::uint32_t HeaderSize = 36, Frames = 0, Steps = 0, Width = 0, Height = 0, BitCount = 0, Planes = 0,
                DefaultRate = 0, Flags = 0;
};

class TAnimatedCursorImage {
 public:
  // Reads a RIFF "ACON" file from its bytes; StreamReadError when it is not one.
  void LoadFromStream(const QByteArray& bytes);
  void LoadFromFile(const QString& path);
  // "Function not yet implemented".
  [[noreturn]] void SaveToStream() const;

  const TAniHeader& Header() const { return header_; }
  const QString& Title() const { return title_; }
  const QString& Creator() const { return creator_; }
  int Count() const { return static_cast<int>(frames_.size()); }
  const TIconFrame& Frame(int i) const { return frames_.at(static_cast<std::size_t>(i)); }
  // The largest colour count of the frames' pictures.
  int MaxColors() const { return max_colors_; }

  // The first frame's icon (empty without frames).
  TIcon AssignToIcon() const;
  // Every frame's icon.
  void AssignTo(TIconList& list) const;
  // The frames side by side on `background`, reduced to at most max(MaxColors, 16) colours.
  QImage StripPicture(QColor background) const;

 private:
  void read_icon(const QByteArray& chunk, TIconFrame& frame);
  TAniHeader header_;
  QString title_, creator_;
  std::vector<TIconFrame> frames_;
  int max_colors_ = 0;
};

}  // namespace components
