// The GIF picture class as the program's picture format for GIF files: a
// picture handler and a static picture plugin for "gif", so that pictures read
// through QImageReader and written through QImageWriter go through TGIFImage.
#pragma once

#include "components/gif.h"

#include <QImageIOHandler>
#include <optional>

class QImageReader;

namespace components {

// The format name that only our plugin answers to: Qt's own GIF plugin, found
// among the system's plugins, is listed before static ones and would take "gif".
inline constexpr char kGifPictureFormat[] = "quorvel-gif";

// Reads every frame of a GIF file in turn (a frame's picture as the class
// decodes it: indexed, its transparent colour see-through), and writes a
// picture as a one-frame GIF file.
class GifPictureHandler : public QImageIOHandler {
 public:
  bool canRead() const override;
  bool read(QImage* image) override;
  bool write(const QImage& image) override;
  bool supportsOption(ImageOption option) const override;
  QVariant option(ImageOption option) const override;
  int imageCount() const override;
  int loopCount() const override;
  int nextImageDelay() const override;
  int currentImageNumber() const override;
  bool jumpToNextImage() override;
  bool jumpToImage(int number) override;

  // The device starts with a GIF signature ("GIF87a" or "GIF89a", any case); it is not moved.
  static bool canRead(QIODevice* device);

 private:
  // Reads the device's file once; false when it is not a GIF file we can read.
  bool charger() const;
  mutable std::optional<TGIFImage> image_;
  mutable bool echec_ = false;
  int suivante_ = 0;
};

// Registers the static picture plugin for "gif" with Qt's picture framework;
// the program calls it once at start-up (later calls do nothing).
void RegisterGifPictureFormat();

// Points `reader` at `path`, the format decided from the content; a GIF file
// is read by our class, named explicitly, whatever plugin Qt would pick first.
void OpenPicture(QImageReader& reader, const QString& path);

}  // namespace components
