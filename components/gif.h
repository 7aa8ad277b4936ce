// The GIF picture: reads and writes GIF87a and GIF89a files with several
// frames, their graphic control and comment extensions, the image comment and
// looping. Frames decode into indexed pictures (1 bit Format_Mono, 2 to 8 bits
// Format_Indexed8); pictures of other formats are reduced to 256 colours when
// written. The image's screen data and each frame's compressed data are shared
// between copies.
#pragma once

#include "components/graphiques.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QMimeData;

namespace components {

// The GIF texts: "Unknown GIF version", "GIF encoded data is corrupt", ...
class GifError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A colour table: the count (0 to 256) and 256 entries.
struct TGIFColorTable {
  int Count = 0;
  std::array<QRgb, 256> Colors{};
};

// What the frames of one image share: the comment, the screen's aspect byte
// and the global colour table.
struct TGIFData {
  QStringList Comment;
  std::uint8_t AspectRatio = 0;
  int BitsPerPixel = 8;
  int ColorResBits = 8;
  TGIFColorTable Colormap;
};

// One frame's compressed data as stored in a file (the code size byte, the
// sub-blocks and the closing empty block), its size, descriptor flags and colours.
struct TGIFItem {
  QByteArray ZData;
  int Width = 0;
  int Height = 0;
  std::uint8_t Flags = 0;
  int BitsPerPixel = 8;
  TGIFColorTable ColorMap;
};

enum TExtensionType { etGraphic, etPlainText, etApplication, etComment };

// An extension block: its kind, its fixed part as read and its data sub-blocks.
struct TExtension {
  TExtensionType Kind = etComment;
  QByteArray Fixed;
  std::vector<QByteArray> Blocks;
};

class TGIFImage;
class TAnimatedCursorImage;

// The LZW coder of GIF frames. Its string table (the code of every prefix and
// pixel, 4096 x 256 slots) is made once and kept from frame to frame; only the
// rows of the strings a frame starts or finds are ever zeroed, once, so a
// small frame costs little and a new frame or a restart of the table clears
// nothing.
class GifEncoder {
 public:
  GifEncoder();
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;
  // Packs `pixels` (width x height indices, rows top down) with the minimum
  // code size first; `rows_done` hears the percentage of rows packed when it changes.
  QByteArray Encode(const std::uint8_t* pixels, int width, int height, int code_size,
                    const std::function<void(int)>* rows_done = nullptr);

 private:
  static constexpr int kCodes = 4096;
  // Zeroes the row of a pixel or code before its first lookup: one test as
  // a string starts or grows, none in the lookup itself.
  void preparer(int ligne) {
    if (!rangee_prete_[ligne]) [[unlikely]]
      zeroer(ligne);
  }
  void zeroer(int ligne);
  std::unique_ptr<std::uint16_t[]> suite_;
  std::array<bool, kCodes> rangee_prete_{};
  std::array<std::uint16_t, kCodes> prefixe_de_{}, pixel_de_{};
};

// What a GIF file may hold, the same for reading and writing, so that every
// file the class writes it reads back. A file keeps sizes and places in 16
// bits. A frame decodes at a byte a pixel, so one frame holds at most 64 M
// pixels (the largest picture the program renders, 8192 x 8192, or 65535 x
// 1024), and all the frames of a file together at most 256 M: the reader
// refuses more before allocating anything, and the writer refuses to write it.
constexpr int kGifMaxSide = 65535;
constexpr qint64 kGifMaxFramePixels = qint64(1) << 26;
constexpr qint64 kGifMaxDecodedBytes = qint64(1) << 28;

// Stages of the progress event of a picture being decoded or encoded.
enum TProgressStage { psStarting, psRunning, psEnding };
// The stage, the percentage done, and at the end the message of the error in flight (empty when none).
using TProgressEvent = std::function<void(TProgressStage stage, int percent, const QString& message)>;

class TGIFFrame {
 public:
  explicit TGIFFrame(TGIFImage* owner) : owner_(owner) {}

  // The decoded picture: decoded on first use and kept; a frame read from a
  // file holds only its compressed data until then.
  const QImage& Bitmap() const;
  bool Decoded() const { return !bitmap_.isNull(); }
  int Left = 0;
  int Top = 0;
  bool Interlaced = false;
  // Set when reading the file or decoding its data found them cut or broken.
  mutable bool Corrupted = false;
  bool GrayScale = false;
  CtlColor TransparentColor = clNone;
  int AnimateInterval = 0;  // milliseconds
  int DisposalMethod = 0;
  bool LocalColors = false;
  std::vector<TExtension> Extensions;
  // The frame's comment: the lines of its comment extensions.
  QStringList Comment() const;
  const std::shared_ptr<const TGIFItem>& Item() const { return item_; }
  int Width() const;
  int Height() const;

 private:
  friend class TGIFImage;
  TGIFImage* owner_;
  mutable QImage bitmap_;
  std::shared_ptr<const TGIFItem> item_;
};

class TGIFImage {
 public:
  TGIFImage();
  TGIFImage(const TGIFImage& other);
  TGIFImage& operator=(const TGIFImage& other);
  ~TGIFImage();

  // Reads a whole file's bytes; the image is cleared first. Errors: GifError, CtlReadError.
  // Only the first frame is decoded here (with DecodeOnLoad); the others on their first use.
  void LoadFromStream(const QByteArray& bytes);
  void LoadFromFile(const QString& path);
  // The file's bytes; "No GIF Data to write" without frames, "GIF size or
  // position out of range 0 to 65535" when a frame's place or size, or the
  // screen that covers the frames, does not fit the file's 16 bits, and a
  // message naming the size when the frames hold more pixels than the reader
  // takes (kGifMaxFramePixels, kGifMaxDecodedBytes).
  QByteArray SaveToStream();
  void SaveToFile(const QString& path);
  // Form streaming: a 32-bit length, then the file's bytes.
  void ReadData(const QByteArray& bytes);
  QByteArray WriteData();

  // A new frame holding a copy of `picture`, made current; returns its index.
  int AddFrame(const QImage& picture);
  // A new image: background clWindow, one frame per cursor frame, each
  // delay the frame's rate x 100 / 6 ms.
  void Assign(const TAnimatedCursorImage& cursor);
  void Clear();

  int Count() const { return static_cast<int>(frames_.size()); }
  TGIFFrame& Frame(int i) { return *frames_.at(static_cast<std::size_t>(i)); }
  const TGIFFrame& Frame(int i) const { return *frames_.at(static_cast<std::size_t>(i)); }
  int FrameIndex() const { return current_; }
  void SetFrameIndex(int i);
  // No frames, or a current frame with neither picture nor data.
  bool Empty() const;
  int Width() const;
  int Height() const;
  // "Cannot change the Size of a GIF image".
  [[noreturn]] void SetWidth(int);
  [[noreturn]] void SetHeight(int);
  // The current frame's picture (frame 0 when the index is out of range); null without frames.
  QImage Bitmap() const;
  // Draws the current frame stretched into `r`, its transparent colour left out.
  void Draw(QPainter& p, const QRect& r) const;
  // Both share the same screen data.
  bool Equals(const TGIFImage& other) const { return data_ == other.data_; }

  int Version() const { return version_; }  // 0 none, 1 "87a", 2 "89a"
  int ScreenWidth() const { return screen_w_; }
  int ScreenHeight() const { return screen_h_; }
  CtlColor BackgroundColor() const { return background_; }
  void SetBackgroundColor(CtlColor c) { background_ = c; }
  bool Looping() const { return looping_; }
  void SetLooping(bool on) { looping_ = on; }
  int RepeatCount() const { return repeat_; }
  void SetRepeatCount(int n) { repeat_ = n; }
  const QStringList& Comment() const { return data_->Comment; }
  void SetComment(const QStringList& lines);
  const TGIFData& Data() const { return *data_; }
  // A truncated frame loads with what was read (the default) or fails.
  bool CorruptedTolerated = true;
  // Reading decodes the first frame at once; when that fails the frame is dropped and the error passed on.
  bool DecodeOnLoad = true;
  // Reports the decoding of a frame and the encoding of a frame being written.
  TProgressEvent OnProgress;

  // The clipboard: the first frame's picture and, when every frame has its
  // data, the file's bytes as "image/gif"; sizes that a file cannot hold are
  // refused as SaveToStream refuses them, before anything is put.
  void SaveToClipboardFormat(QMimeData& mime);
  // Prefers the GIF data; a picture beside it replaces the first frame's
  // picture. Without GIF data the picture alone makes a one-frame image.
  void LoadFromClipboardFormat(const QMimeData& mime);

 private:
  friend class TGIFFrame;
  // The blocks of a file, its frames kept undecoded.
  void lire(const QByteArray& bytes);
  TGIFData& unique_data();
  // The current frame's index, frame 0 when the index is out of range.
  int courant() const;
  void update_screen_size();
  // Throws when a place, a size or the screen does not fit 16 bits.
  void check_sizes() const;
  void encode_frame(TGIFFrame& f);
  QImage decode_frame(const TGIFFrame& f, bool* corrupted) const;
  // The frames this image writes share one coder, made on the first; copies make their own.
  std::unique_ptr<GifEncoder> codeur_;

  std::shared_ptr<TGIFData> data_;
  int version_ = 0;
  std::vector<std::unique_ptr<TGIFFrame>> frames_;
  int current_ = -1;
  int screen_w_ = 0;
  int screen_h_ = 0;
  CtlColor background_ = clNone;
  bool looping_ = false;
  int repeat_ = 1;
};

// The LZW decoding of GIF pictures, open to tests.
// Unpacks stored data (code size byte and sub-blocks) into width x height
// indices masked to `bits`; `corrupted` is set on bad data (then only the rows read).
std::vector<std::uint8_t> GifDecodePixels(const QByteArray& zdata, int width, int height, int bits, bool interlaced,
                                          bool tolerate, bool& corrupted);

}  // namespace components
