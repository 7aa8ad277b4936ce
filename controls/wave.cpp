#include "controls/wave.h"

#include <QBuffer>
#include <QFile>

#include "controls/ctlerror.h"
#include "platform/fichiers.h"

std::unique_ptr<CtlWave> CtlWave::CreateFromFile(const QString& file_name) {
  auto wave = std::make_unique<CtlWave>();
  wave->LoadFromFile(file_name);
  return wave;
}

bool CtlWave::IsWaveData(const QByteArray& bytes) {
  // The other header fields (format, tracks, rates, alignment) decide nothing.
  return bytes.size() >= 16 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE" && bytes.mid(12, 4) == "fmt ";
}

void CtlWave::Load(const QByteArray& bytes) {
  if (!bytes.isEmpty() && !IsWaveData(bytes)) throw CtlEInvalidWave(ClassName() + ": Cannot open file");
  if (bytes.isEmpty())
    data_.reset();
  else
    data_ = bytes;
  Change();
}

void CtlWave::ReadData(QIODevice& stream) { Load(ReadPlainBytes(stream)); }

void CtlWave::WriteData(QIODevice& stream) const {
  const QByteArray bytes = Bytes();
  WriteStreamInt(stream, static_cast<std::int32_t>(bytes.size()));
  if (!bytes.isEmpty() && stream.write(bytes) != bytes.size()) throw CtlError("Stream write error");
}

void CtlWave::LoadFromFile(const QString& file_name) {
  QFile file(file_name);
  if (!file.open(QIODevice::ReadOnly)) throw CtlError("Cannot open file " + file_name.toStdString());
  LoadFromStream(file);
}

void CtlWave::LoadFromStream(QIODevice& stream) { Load(stream.readAll()); }

void CtlWave::SaveToFile(const QString& file_name) const {
  const QByteArray bytes = Bytes();
  const Echec e = ecrire_fichier(QFile::encodeName(file_name).toStdString(),
                                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!e.empty()) throw CtlError("Cannot write " + file_name.toStdString() + ": " + e);
}

void CtlWave::SaveToStream(QIODevice& stream) const {
  const QByteArray bytes = Bytes();
  if (!bytes.isEmpty() && stream.write(bytes) != bytes.size()) throw CtlError("Stream write error");
}

void CtlWave::Clear() {
  data_.reset();
  Change();
}

void CtlWave::Assign(const CtlObject& source) {
  if (&source == this) return;
  if (const auto* wave = dynamic_cast<const CtlWave*>(&source)) {
    data_ = wave->Bytes();
    Change();
    return;
  }
  CtlObject::Assign(source);
}

namespace {

// The RIFF chunk size plus its 8-byte head; 0 when the head is no RIFF file.
std::int64_t DeclaredRiffSize(const QByteArray& head) {
  if (head.size() < 8 || !head.startsWith("RIFF")) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(head.constData());
  return 8 + static_cast<std::int64_t>(b[4] | (b[5] << 8) | (b[6] << 16) | (static_cast<std::uint32_t>(b[7]) << 24));
}

}  // namespace

void CtlWave::ReadPacked(QIODevice& stream) { Load(ReadPackedBytes(stream, DeclaredRiffSize)); }

void CtlWave::WritePacked(QIODevice& stream) const {
  QByteArray bytes = Bytes();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  CompressToStream(buffer, stream, bytes.size());
}

void WriteWave(QIODevice& stream, const CtlWave& wave, bool compressed) {
  if (compressed)
    wave.WritePacked(stream);
  else
    wave.WritePlain(stream);
}

void ReadWave(QIODevice& stream, CtlWave& wave, bool compressed) {
  if (compressed)
    wave.ReadPacked(stream);
  else
    wave.ReadPlain(stream);
}
