// The GIF picture handler and its static plugin. This file is compiled with
// QT_STATICPLUGIN so that the plugin is linked into the program rather than
// loaded from a folder.
#include "components/gif_plugin.h"

#include <QFile>
#include <QImageIOPlugin>
#include <QImageReader>
#include <QVariant>
#include <QtPlugin>
#include <exception>

extern const QStaticPlugin qt_static_plugin_GifPicturePlugin();

namespace components {

// Answers for "gif" and for the name only it knows; reads by content any GIF signature.
class GifPicturePlugin : public QImageIOPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "gif_plugin.json")

 public:
  Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
    if (format == "gif" || format == kGifPictureFormat) return CanRead | CanWrite;
    if (!format.isEmpty() || !device || !device->isOpen()) return {};
    return device->isReadable() && GifPictureHandler::canRead(device) ? Capabilities(CanRead) : Capabilities();
  }
  QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
    auto* handler = new GifPictureHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray("gif") : format);
    return handler;
  }
};

bool GifPictureHandler::canRead(QIODevice* device) {
  if (!device) return false;
  const QByteArray tete = device->peek(6).toUpper();
  return tete == "GIF87A" || tete == "GIF89A";
}

bool GifPictureHandler::charger() const {
  if (image_ || echec_) return !echec_;
  if (!device()) return !(echec_ = true);
  try {
    TGIFImage g;
    g.LoadFromStream(device()->readAll());
    if (g.Count() == 0) return !(echec_ = true);
    image_ = std::move(g);
  } catch (const std::exception&) {
    echec_ = true;
  }
  return !echec_;
}

bool GifPictureHandler::canRead() const {
  if (!image_ && !echec_) return canRead(device());
  return image_ && suivante_ < image_->Count();
}

bool GifPictureHandler::read(QImage* image) {
  if (!charger() || suivante_ >= image_->Count()) return false;
  const TGIFFrame& f = image_->Frame(suivante_);
  QImage picture;
  try {
    picture = f.Bitmap();
  } catch (const std::exception&) {
    return false;
  }
  if (picture.isNull()) return false;
  // The transparent colour, matched in the frame's table, becomes see-through.
  if (f.TransparentColor != clNone) {
    const QRgb rgb = ColorToRgb(f.TransparentColor).rgb() & 0xFFFFFF;
    QList<QRgb> table = picture.colorTable();
    for (QRgb& c : table)
      if ((c & 0xFFFFFF) == rgb) c = rgb;  // alpha 0
    picture.setColorTable(table);
  }
  image_->SetFrameIndex(suivante_);
  ++suivante_;
  *image = picture;
  return true;
}

bool GifPictureHandler::write(const QImage& image) {
  if (!device() || image.isNull()) return false;
  try {
    TGIFImage g;
    g.AddFrame(image);
    const QByteArray bytes = g.SaveToStream();
    return device()->write(bytes) == bytes.size();
  } catch (const std::exception&) {
    return false;
  }
}

bool GifPictureHandler::supportsOption(ImageOption option) const {
  return option == Size || option == Animation || option == ImageFormat;
}

QVariant GifPictureHandler::option(ImageOption option) const {
  if (!supportsOption(option) || !charger()) return {};
  const int i = std::min(suivante_, image_->Count() - 1);
  const TGIFFrame& f = image_->Frame(i);
  switch (option) {
    case Size:
      return QSize(f.Width(), f.Height());
    case Animation:
      return image_->Count() > 1;
    case ImageFormat:
      return f.Item() && f.Item()->BitsPerPixel == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
    default:
      return {};
  }
}

int GifPictureHandler::imageCount() const { return charger() ? image_->Count() : 0; }

int GifPictureHandler::loopCount() const {
  if (!charger() || !image_->Looping()) return 0;
  return image_->RepeatCount() == 0 ? -1 : image_->RepeatCount();
}

int GifPictureHandler::nextImageDelay() const {
  if (!charger() || suivante_ >= image_->Count()) return 0;
  return image_->Frame(suivante_).AnimateInterval;
}

int GifPictureHandler::currentImageNumber() const { return suivante_ - 1; }

bool GifPictureHandler::jumpToNextImage() { return jumpToImage(suivante_ + 1); }

bool GifPictureHandler::jumpToImage(int number) {
  if (!charger() || number < 0 || number >= image_->Count()) return false;
  suivante_ = number;
  return true;
}

void RegisterGifPictureFormat() {
  static const bool fait = [] {
    qRegisterStaticPluginFunction(qt_static_plugin_GifPicturePlugin());
    return true;
  }();
  (void)fait;
}

void OpenPicture(QImageReader& reader, const QString& path) {
  RegisterGifPictureFormat();
  reader.setFileName(path);
  reader.setDecideFormatFromContent(true);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || !GifPictureHandler::canRead(&file)) return;
  reader.setDecideFormatFromContent(false);
  reader.setAutoDetectImageFormat(false);
  reader.setFormat(kGifPictureFormat);
}

}  // namespace components

#include "gif_plugin.moc"
