// The settings storage: string values under sections, kept in an INI file or
// in the registry stand-in, one INI file per root in the per-user
// configuration folder ("registry-80000001.ini"), whose sections are the key
// path followed by the section name. Every call opens the file, does its one
// operation and closes it again; writes go through the safe write.
//
// INI files: "[section]" heads and "key=value" lines, Latin-1, CR LF (read
// with CR LF or LF); section and key names compare without regard to case.
#pragma once

#include <QString>
#include <cstdint>

#include "controls/ctlobject.h"
#include "controls/ctlutils.h"

enum CtlRegRootKey : std::uint8_t { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig, rpDynData };
enum CtlIniTarget : std::uint8_t { itIniFile, itRegistry, itAuto };

// The platform number of a registry root (0x80000000 ... 0x80000006, 0x80000004 skipped).
std::uint32_t RegRootNumber(CtlRegRootKey root);

class CtlIniCtrl : public CtlComponent {
  Q_OBJECT
 public:
  explicit CtlIniCtrl(QObject* owner = nullptr);

  bool AlphaCounter() const { return alpha_counter_; }
  // Any change caps MaxEntries at 26.
  void SetAlphaCounter(bool v);
  bool Common() const { return common_; }
  void SetCommon(bool v) { common_ = v; }
  QString IniFile() const { return ini_file_; }
  void SetIniFile(const QString& name) { ini_file_ = name; }
  CtlPathPrefix IniPrefix() const { return prefix_; }
  void SetIniPrefix(CtlPathPrefix p) { prefix_ = p; }
  int MaxEntries() const { return max_entries_; }
  // Refused above 26 while AlphaCounter is set.
  void SetMaxEntries(int n);
  bool NetUser() const { return net_user_; }
  // True copies the logon name into User.
  void SetNetUser(bool v);
  QString User() const { return user_; }
  void SetUser(const QString& u) { user_ = u; }
  QString RegPath() const { return reg_path_; }
  void SetRegPath(const QString& p) { reg_path_ = p; }
  CtlRegRootKey RegRoot() const { return reg_root_; }
  void SetRegRoot(CtlRegRootKey r) { reg_root_ = r; }
  CtlIniTarget Target() const { return target_; }
  void SetTarget(CtlIniTarget t) { target_ = t; }

  // A missing file, section or key gives the default.
  QString ReadString(const QString& section, const QString& ident, const QString& default_value);
  // A failed write raises CtlError naming the file; the file stays as it was.
  void WriteString(const QString& section, const QString& ident, const QString& value);
  void DeleteKey(const QString& section, const QString& ident);

  virtual QString GetNetUserName() const { return GetLogonUserName(); }

  // Where the next call goes: the file and the section name for `section`.
  QString FileName() const;
  QString SectionName(const QString& section);
  // "Software\<application title>\" unless RegPath is set.
  QString RegistryPath() const;
  bool UsesRegistry() const { return target_ != itIniFile; }

 private:
  bool alpha_counter_ = false;
  bool common_ = true;
  QString ini_file_;
  CtlPathPrefix prefix_ = ppWindows;
  int max_entries_ = 16;
  bool net_user_ = false;
  QString user_;
  QString reg_path_;
  CtlRegRootKey reg_root_ = rpCurrentUser;
  CtlIniTarget target_ = itAuto;
  QString last_section_;
  bool remembered_ = false;
};
