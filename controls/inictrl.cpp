#include "controls/inictrl.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "controls/ctlerror.h"
#include "platform/fichiers.h"

namespace {

// The lines of an INI file: those before the first head, then each section
// with its head name and its lines as they are.
struct IniSection {
  QString name;
  QStringList lines;
};

struct IniText {
  QStringList preamble;
  std::vector<IniSection> sections;

  static IniText Parse(const QByteArray& bytes) {
    IniText t;
    const QString text = QString::fromLatin1(bytes);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString line : lines) {
      if (line.endsWith(u'\r')) line.chop(1);
      const QString trimmed = line.trimmed();
      if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
        t.sections.push_back({trimmed.mid(1, trimmed.size() - 2), {}});
      } else if (t.sections.empty()) {
        t.preamble << line;
      } else {
        t.sections.back().lines << line;
      }
    }
    return t;
  }

  QByteArray Bytes() const {
    QString out;
    for (const QString& l : preamble) out += l + QStringLiteral("\r\n");
    for (const IniSection& s : sections) {
      out += u'[' + s.name + QStringLiteral("]\r\n");
      for (const QString& l : s.lines) out += l + QStringLiteral("\r\n");
    }
    return out.toLatin1();
  }

  IniSection* Find(const QString& name) {
    for (IniSection& s : sections)
      if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
  }
};

// The index of the line holding `key`, or -1.
qsizetype KeyLine(const IniSection& s, const QString& key) {
  for (qsizetype i = 0; i < s.lines.size(); ++i) {
    const qsizetype eq = s.lines[i].indexOf(u'=');
    if (eq > 0 && s.lines[i].left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A missing file is empty; one that cannot be read is refused when it is to
// be written again, so that nothing of it is lost.
IniText Load(const QString& path, bool for_writing) {
  std::string reason;
  const auto bytes = lire_fichier(LocalPath(path), &reason);
  if (!bytes) {
    if (for_writing && fichier_existe(LocalPath(path))) throw CtlError("Cannot read " + path.toStdString() + ": " + reason);
    return {};
  }
  return IniText::Parse(QByteArray::fromStdString(*bytes));
}

void Save(const QString& path, const IniText& text) {
  const QByteArray bytes = text.Bytes();
  const Echec e = ecrire_fichier(LocalPath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!e.empty()) throw CtlError("Cannot write " + path.toStdString() + ": " + e);
}

}  // namespace

std::uint32_t RegRootNumber(CtlRegRootKey root) {
  static const std::uint32_t numbers[] = {0x80000000u, 0x80000001u, 0x80000002u,
                                          0x80000003u, 0x80000005u, 0x80000006u};
  return numbers[root];
}

CtlIniCtrl::CtlIniCtrl(QObject* owner) : CtlComponent(owner) {}

void CtlIniCtrl::SetAlphaCounter(bool v) {
  if (!CtlStore(alpha_counter_, v)) return;
  if (max_entries_ > 26) max_entries_ = 26;
}

void CtlIniCtrl::SetMaxEntries(int n) {
  if (n < 0 || n > 255 || (alpha_counter_ && n > 26)) return;
  max_entries_ = n;
}

void CtlIniCtrl::SetNetUser(bool v) {
  net_user_ = v;
  if (v) user_ = GetNetUserName();
}

QString CtlIniCtrl::RegistryPath() const {
  if (!IsBlank(reg_path_)) return IncludeTrailingBackslash(reg_path_);
  const QString title = QCoreApplication::applicationName();
  if (IsBlank(title)) return QCoreApplication::applicationFilePath() + u'\\';
  return QStringLiteral("Software\\") + title + u'\\';
}

QString CtlIniCtrl::FileName() const {
  if (UsesRegistry())
    return GetWindowsDir() + QStringLiteral("registry-%1.ini").arg(RegRootNumber(reg_root_), 8, 16, QChar(u'0'));
  QString name = ini_file_;
  if (IsBlank(name)) {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    name = exe.path() + u'/' + exe.completeBaseName() + QStringLiteral(".INI");
  } else if (QFileInfo(name).suffix().isEmpty()) {
    name += QStringLiteral(".INI");
  }
  if (prefix_ == ppFixed) return name;
  return GetPrefixPath(prefix_, true) + QFileInfo(name).fileName();
}

QString CtlIniCtrl::SectionName(const QString& section) {
  if (IsBlank(section)) return remembered_ ? last_section_ : QStringLiteral("Common");
  QString name;
  if (UsesRegistry())
    name = section == QLatin1String("#ROOT") ? QString() : section;
  else if (common_)
    name = section;
  else if (net_user_)
    name = section + u'.' + GetNetUserName();
  else
    name = section + u'.' + user_;
  last_section_ = name;
  remembered_ = true;
  return name;
}

QString CtlIniCtrl::ReadString(const QString& section, const QString& ident, const QString& default_value) {
  QString name = SectionName(section);
  if (UsesRegistry()) name.prepend(RegistryPath());
  IniText text = Load(FileName(), false);
  const IniSection* s = text.Find(name);
  if (!s) return default_value;
  const qsizetype i = KeyLine(*s, ident);
  if (i < 0) return default_value;
  const QString& line = s->lines[i];
  return line.mid(line.indexOf(u'=') + 1).trimmed();
}

void CtlIniCtrl::WriteString(const QString& section, const QString& ident, const QString& value) {
  QString name = SectionName(section);
  if (UsesRegistry()) name.prepend(RegistryPath());
  const QString path = FileName();
  IniText text = Load(path, true);
  IniSection* s = text.Find(name);
  if (!s) {
    text.sections.push_back({name, {}});
    s = &text.sections.back();
  }
  const QString line = ident.trimmed() + u'=' + value;
  const qsizetype i = KeyLine(*s, ident);
  if (i >= 0) {
    s->lines[i] = line;
  } else {
    // After the section's last non-empty line.
    qsizetype at = s->lines.size();
    while (at > 0 && s->lines[at - 1].trimmed().isEmpty()) --at;
    s->lines.insert(at, line);
  }
  Save(path, text);
}

void CtlIniCtrl::DeleteKey(const QString& section, const QString& ident) {
  QString name = SectionName(section);
  if (UsesRegistry()) name.prepend(RegistryPath());
  const QString path = FileName();
  IniText text = Load(path, true);
  IniSection* s = text.Find(name);
  if (!s) return;
  const qsizetype i = KeyLine(*s, ident);
  if (i < 0) return;
  s->lines.removeAt(i);
  Save(path, text);
}
