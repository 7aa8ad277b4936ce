// Icons, the icon list and its stream, and the animated-cursor reader.
#include "components/icones.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>

#include "components/reduction.h"

namespace components {

namespace {

std::uint32_t u32(const QByteArray& b, qsizetype at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<std::uint8_t>(b[at + k]);
  return v;
}

int u16(const QByteArray& b, qsizetype at) {
  return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8);
}

void put_u32(QByteArray& out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out.append(static_cast<char>((v >> (8 * k)) & 255));
}

void put_u16(QByteArray& b, qsizetype at, int v) {
  b[at] = static_cast<char>(v & 255);
  b[at + 1] = static_cast<char>((v >> 8) & 255);
}

}  // namespace

// ---- Icons ----

namespace {

QImage lire_icone(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ico");
  return reader.read();
}

}  // namespace

TIcon TIcon::FromBytes(const QByteArray& bytes) {
  TIcon icon;
  icon.image_ = lire_icone(bytes);
  if (icon.image_.isNull()) throw StreamReadError();
  icon.bytes_ = bytes;
  return icon;
}

TIcon TIcon::FromBytesDeferred(const QByteArray& bytes, QSize* size) {
  const QImage image = lire_icone(bytes);
  if (image.isNull()) throw StreamReadError();
  if (size) *size = image.size();
  TIcon icon;
  icon.bytes_ = bytes;
  return icon;
}

const QImage& TIcon::Image() const {
  if (image_.isNull() && !bytes_.isEmpty()) image_ = lire_icone(bytes_);
  return image_;
}

TResourceNotFound::TResourceNotFound(const QString& name)
    : std::runtime_error(QString("Resource %1 not found").arg(name).toStdString()) {}

TIcon LoadIconResource(const QString& module, const QString& name) {
  QString dossier = module.isEmpty() ? QString(":") : module;
  if (!dossier.startsWith(':')) dossier.prepend(':');
  if (!dossier.endsWith('/')) dossier.append('/');
  QFile file(dossier + name);
  if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) throw TResourceNotFound(name);
  return TIcon::FromBytes(file.readAll());
}

void IconToMimeData(const TIcon& icon, QMimeData& mime) {
  if (icon.Empty()) return;
  mime.setData("image/x-icon", icon.Bytes());
  mime.setImageData(icon.Image());
}

TIcon IconFromMimeData(const QMimeData& mime) {
  if (!mime.hasFormat("image/x-icon")) return {};
  return TIcon::FromBytes(mime.data("image/x-icon"));
}

// ---- The list ----

void TIconList::changed() {
  if (updates_ == 0 && OnChange) OnChange();
}

void TIconList::EndUpdate() {
  if (updates_ > 0 && --updates_ == 0) changed();
}

void TIconList::check(int index, int limit) const {
  if (index < 0 || index >= limit) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

const TIcon* TIconList::Get(int index) const {
  check(index, Count());
  const auto& slot = icons_[static_cast<std::size_t>(index)];
  return slot ? &*slot : nullptr;
}

void TIconList::Put(int index, const TIcon& icon) {
  check(index, Count() + 1);
  BeginUpdate();
  if (index == Count()) icons_.emplace_back();
  icons_[static_cast<std::size_t>(index)] = icon;
  EndUpdate();
}

int TIconList::Add(const TIcon& icon) {
  Insert(Count(), icon);
  return Count() - 1;
}

int TIconList::AddEmpty() {
  icons_.emplace_back();
  changed();
  return Count() - 1;
}

void TIconList::Insert(int index, const TIcon& icon) {
  check(index, Count() + 1);
  icons_.insert(icons_.begin() + index, icon);
  changed();
}

int TIconList::AddResource(const QString& module, const QString& name) {
  return Add(LoadIconResource(module, name));
}

void TIconList::InsertResource(int index, const QString& module, const QString& name) {
  check(index, Count() + 1);
  Insert(index, LoadIconResource(module, name));
}

void TIconList::Delete(int index) {
  check(index, Count());
  icons_.erase(icons_.begin() + index);
  changed();
}

void TIconList::Clear() {
  BeginUpdate();
  for (int i = Count() - 1; i >= 0; --i) Delete(i);
  EndUpdate();
}

void TIconList::Exchange(int i, int j) {
  check(i, Count());
  check(j, Count());
  std::swap(icons_[static_cast<std::size_t>(i)], icons_[static_cast<std::size_t>(j)]);
  changed();
}

void TIconList::Move(int current, int target) {
  check(current, Count());
  check(target, Count());
  auto slot = std::move(icons_[static_cast<std::size_t>(current)]);
  icons_.erase(icons_.begin() + current);
  icons_.insert(icons_.begin() + target, std::move(slot));
  changed();
}

int TIconList::IndexOf(const TIcon& icon) const {
  for (int i = 0; i < Count(); ++i)
    if (icons_[static_cast<std::size_t>(i)] && *icons_[static_cast<std::size_t>(i)] == icon) return i;
  return -1;
}

void TIconList::Assign(const TIconList& other) {
  if (&other == this) return;
  BeginUpdate();
  icons_ = other.icons_;
  EndUpdate();
}

void TIconList::Assign(const TIcon& icon) {
  BeginUpdate();
  Clear();
  Add(icon);
  EndUpdate();
}

QByteArray TIconList::SaveToStream() const {
  QByteArray out;
  put_u32(out, static_cast<std::uint32_t>(Count()));
  for (const auto& slot : icons_) {
    const QByteArray bytes = slot ? slot->Bytes() : QByteArray();
    put_u32(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
  }
  return out;
}

void TIconList::LoadFromStream(const QByteArray& bytes) {
  if (bytes.size() < 4) throw StreamReadError();
  const std::uint32_t count = u32(bytes, 0);
  // Every slot takes at least its 4-byte size.
  if (count > static_cast<std::uint32_t>((bytes.size() - 4) / 4)) throw StreamReadError();
  std::vector<std::optional<TIcon>> read;
  qsizetype at = 4;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (bytes.size() - at < 4) throw StreamReadError();
    const std::uint32_t size = u32(bytes, at);
    at += 4;
    if (size > static_cast<std::uint32_t>(bytes.size() - at)) throw StreamReadError();
    if (size == 0) read.emplace_back();
    else read.emplace_back(TIcon::FromBytes(bytes.mid(at, size)));
    at += size;
  }
  BeginUpdate();
  icons_ = std::move(read);
  EndUpdate();
}

// ---- Animated cursors ----

void TAnimatedCursorImage::SaveToStream() const { NotImplemented(); }

void TAnimatedCursorImage::LoadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw StreamReadError();
  LoadFromStream(file.readAll());
}

// An icon file image: the directory is checked, a cursor rewritten as an
// icon (its hot spot from the first entry), and the colour counts noted.
void TAnimatedCursorImage::read_icon(const QByteArray& chunk, TIconFrame& frame) {
  if (chunk.size() < 6) throw StreamReadError();
  const int type = u16(chunk, 2), count = u16(chunk, 4);
  if ((type != 1 && type != 2) || count < 1 || 6 + 16 * qsizetype(count) > chunk.size()) throw StreamReadError();
  QByteArray bytes = chunk;
  for (int i = 0; i < count; ++i) {
    const qsizetype entry = 6 + 16 * i;
    const std::uint32_t size = u32(chunk, entry + 8), offset = u32(chunk, entry + 12);
    if (offset > std::uint32_t(chunk.size()) || size > std::uint32_t(chunk.size()) - offset) throw StreamReadError();
    int bits = 0;
    if (size >= 16 && std::memcmp(chunk.constData() + offset, "\x89PNG", 4) != 0) bits = u16(chunk, offset + 14);
    max_colors_ = std::max(max_colors_, bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0);
    if (type == 2) {
      if (i == 0) frame.HotSpot = QPoint(u16(chunk, entry + 4), u16(chunk, entry + 6));
      // As an icon entry: one plane and the picture's own bit count.
      put_u16(bytes, entry + 4, 1);
      put_u16(bytes, entry + 6, bits);
    }
  }
  put_u16(bytes, 2, 1);
  // The frame keeps the icon's bytes; its picture is read again when it is used.
  QSize taille;
  frame.Icon = TIcon::FromBytesDeferred(bytes, &taille);
  frame.IsIcon = type == 1;
  if (type == 1) frame.HotSpot = QPoint(taille.width() / 2, taille.height() / 2);
}

namespace {

// The frame records while a cursor is read. Record p, as "anih" announces it,
// has step index p and the default rate until a "seq " or "rate" chunk says
// otherwise; only the changed values and the records given an icon are
// stored, so that neither an announced count nor a long run of icons costs
// more than the chunks actually present.
class Enregistrements {
 public:
  void annoncer(std::size_t count, std::uint32_t rate) {
    annonces_ = total_ = count;
    rate_ = rate;
    rates_.clear();
    steps_.clear();
    par_step_.clear();
    places_.clear();
  }
  std::size_t total() const { return total_; }
  void fixer_rate(std::size_t r, std::uint32_t v) {
    rates_[r] = v;
    if (auto f = places_.find(r); f != places_.end()) f->second.Rate = v;
  }
  void fixer_step(std::size_t r, std::int64_t v) {
    if (auto old = steps_.find(r); old != steps_.end()) std::erase(par_step_[old->second], r);
    steps_[r] = v;
    par_step_[v].push_back(r);
    if (auto f = places_.find(r); f != places_.end()) f->second.StepIndex = static_cast<int>(v);
  }
  // The n-th icon of a frame list goes to every record whose step index is n,
  // or to a new record of index -1 when there is none.
  void placer(std::int64_t n, const TIconFrame& lu) {
    bool place = false;
    auto donner = [&](std::size_t r) {
      TIconFrame& f = enregistrement(r);
      f.Icon = lu.Icon;
      f.IsIcon = lu.IsIcon;
      f.HotSpot = lu.HotSpot;
      f.Tag = lu.Tag;
      place = true;
    };
    if (n >= 0 && static_cast<std::uint64_t>(n) < annonces_ && !steps_.count(static_cast<std::size_t>(n)))
      donner(static_cast<std::size_t>(n));
    if (auto f = par_step_.find(n); f != par_step_.end())
      for (std::size_t r : f->second) donner(r);
    if (!place) {
      const std::size_t r = total_++;
      fixer_step(r, -1);
      donner(r);
    }
  }
  // The records that hold an icon, in order.
  std::vector<TIconFrame> frames() && {
    std::vector<TIconFrame> out;
    out.reserve(places_.size());
    for (auto& [r, f] : places_) out.push_back(std::move(f));
    return out;
  }

 private:
  TIconFrame& enregistrement(std::size_t r) {
    auto [f, nouveau] = places_.try_emplace(r);
    if (nouveau) {
      const auto rate = rates_.find(r);
      const auto step = steps_.find(r);
      f->second.Rate = rate != rates_.end() ? rate->second : rate_;
      f->second.StepIndex = static_cast<int>(step != steps_.end() ? step->second : std::int64_t(r));
    }
    return f->second;
  }
  std::size_t annonces_ = 0, total_ = 0;
  std::uint32_t rate_ = 0;
  std::unordered_map<std::size_t, std::uint32_t> rates_;
  std::unordered_map<std::size_t, std::int64_t> steps_;
  std::unordered_map<std::int64_t, std::vector<std::size_t>> par_step_;
  std::map<std::size_t, TIconFrame> places_;
};

}  // namespace

void TAnimatedCursorImage::LoadFromStream(const QByteArray& bytes) {
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "ACON") throw StreamReadError();
  header_ = {};
  title_.clear();
  creator_.clear();
  frames_.clear();
  max_colors_ = 0;
  Enregistrements records;
  std::size_t rates = 0, steps = 0;
  // The chunks of a range: identifier, size, and the data (padded to an even length).
  auto chunks = [](const QByteArray& b, qsizetype from, qsizetype to, auto&& visit) {
    while (to - from >= 8) {
      const QByteArray id = b.mid(from, 4);
      const std::uint32_t size = u32(b, from + 4);
      if (size > std::uint32_t(to - from - 8)) break;  // a truncated chunk ends reading
      visit(id, b.mid(from, 8), QByteArrayView(b).sliced(from + 8, size));
      from += 8 + size + (size & 1);
    }
  };
  chunks(bytes, 12, bytes.size(), [&](const QByteArray& id, const QByteArray&, QByteArrayView data) {
    if (id == "anih") {
      if (data.size() < 36) throw StreamReadError();
      std::uint32_t* champs[9] = {&header_.HeaderSize, &header_.Frames, &header_.Steps,
                                  &header_.Width,      &header_.Height, &header_.BitCount,
                                  &header_.Planes,     &header_.DefaultRate, &header_.Flags};
      const QByteArray tete = data.first(36).toByteArray();
      for (int k = 0; k < 9; ++k) *champs[k] = u32(tete, 4 * k);
      if (!(header_.Flags & 1) || header_.Steps == 0) throw StreamReadError();
      if (header_.Frames > std::uint64_t(bytes.size()) / 8 || header_.Steps > std::uint64_t(bytes.size()) / 8)
        throw StreamReadError();
      records.annoncer(header_.Frames, header_.DefaultRate);
    } else if (id == "rate" || id == "seq ") {
      std::size_t& next = id == "rate" ? rates : steps;
      if (data.size() >= 4 && next < records.total()) {
        const std::uint32_t v = u32(data.first(4).toByteArray(), 0);
        if (id == "rate") records.fixer_rate(next, v);
        else records.fixer_step(next, static_cast<int>(v));
      }
      ++next;
    } else if (id == "LIST" && data.startsWith("fram")) {
      const QByteArray liste = data.toByteArray();
      std::int64_t n = 0;
      chunks(liste, 4, liste.size(), [&](const QByteArray& sub, const QByteArray& subtag, QByteArrayView icon) {
        if (sub != "icon") return;
        TIconFrame read;
        read.Tag = subtag;
        read_icon(icon.toByteArray(), read);
        records.placer(n++, read);
      });
    } else if (id == "LIST" && data.startsWith("INFO")) {
      const QByteArray liste = data.toByteArray();
      chunks(liste, 4, liste.size(), [&](const QByteArray& sub, const QByteArray&, QByteArrayView text) {
        QByteArray t = text.toByteArray();
        if (t.indexOf('\0') >= 0) t.truncate(t.indexOf('\0'));
        const QString s = QString::fromLatin1(t.left(255));
        if (sub == "INAM") title_ = s;
        else if (sub == "IART") creator_ = s;
      });
    }
  });
  frames_ = std::move(records).frames();
  header_.Steps = static_cast<std::uint32_t>(frames_.size());
  if (frames_.empty()) throw StreamReadError();
}

TIcon TAnimatedCursorImage::AssignToIcon() const { return frames_.empty() ? TIcon() : frames_.front().Icon; }

void TAnimatedCursorImage::AssignTo(TIconList& list) const {
  list.BeginUpdate();
  list.Clear();
  for (const TIconFrame& f : frames_) list.Add(f.Icon);
  list.EndUpdate();
}

QImage TAnimatedCursorImage::StripPicture(QColor background) const {
  if (frames_.empty()) return {};
  const QSize one = frames_.front().Icon.Image().size();
  QImage strip(one.width() * Count(), one.height(), QImage::Format_RGB32);
  strip.fill(background);
  {
    QPainter p(&strip);
    for (int i = 0; i < Count(); ++i) p.drawImage(i * one.width(), 0, Frame(i).Icon.Image());
  }
  return QImage::fromData(ColorCountToDIBStream(strip, std::max(max_colors_, 16)), "BMP");
}

}  // namespace components
