// One wave sound kept as the bytes of its RIFF file, for wave lists and
// files. The object only stores the sound; nothing here plays it.
//
// Forms: plain (int32 length L, then the L bytes; L = 0 for an empty wave),
// packed (the chunked compressed stream of the bytes), and the file itself.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

#include "controls/ctlobject.h"
#include "controls/streams.h"

class CtlWave : public CtlObject, public CtlStreamObject {
 public:
  CtlWave() = default;
  // A new wave loaded from the file.
  static std::unique_ptr<CtlWave> CreateFromFile(const QString& file_name);

  std::string ClassName() const override { return "TCtlWave"; }

  // The plain form; 0 <= L <= the bytes left, else CtlReadError.
  void ReadData(QIODevice& stream);
  void WriteData(QIODevice& stream) const;
  void LoadFromFile(const QString& file_name);
  // From the current position to the end.
  void LoadFromStream(QIODevice& stream) override;
  // Through the safe write: a failed write raises CtlError naming the file and leaves it as it was.
  void SaveToFile(const QString& file_name) const;
  // The bytes without a length.
  void SaveToStream(QIODevice& stream) const override;

  bool IsEmpty() const { return !data_ || data_->isEmpty(); }
  qint64 Size() const { return data_ ? data_->size() : 0; }
  // Whether the wave holds data at all (even of size 0): the form stores it then.
  bool HasData() const { return data_.has_value(); }
  QByteArray Bytes() const { return data_.value_or(QByteArray()); }
  void Clear();
  // Another wave's bytes (an empty wave gives an empty wave); other classes are refused.
  void Assign(const CtlObject& source) override;

  void ReadPacked(QIODevice& stream);
  void WritePacked(QIODevice& stream) const;
  void ReadPlain(QIODevice& stream) { ReadData(stream); }
  void WritePlain(QIODevice& stream) const { WriteData(stream); }

  // The three signatures of a RIFF wave file ("RIFF", "WAVE", "fmt ").
  static bool IsWaveData(const QByteArray& bytes);

 private:
  // Checks the bytes, then replaces the data and notifies; no bytes clear it.
  void Load(const QByteArray& bytes);
  std::optional<QByteArray> data_;
};

void WriteWave(QIODevice& stream, const CtlWave& wave, bool compressed);
void ReadWave(QIODevice& stream, CtlWave& wave, bool compressed);
