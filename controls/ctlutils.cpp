#include "controls/ctlutils.h"

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <cassert>
#include <cmath>

#include "platform/arrondi.h"

int GetScreenColorDepth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->depth() : 0;
}

int GetOSMinorVersion() { return 0; }

QString GetLogonUserName() {
  const passwd* pw = getpwuid(geteuid());
  if (!pw || !pw->pw_name || !*pw->pw_name) return QStringLiteral("(inconnu)");
  return QString::fromLocal8Bit(pw->pw_name);
}

void GrowRect(QRect& r, int dx, int dy) {
  r.setWidth(r.width() + dx);
  r.setHeight(r.height() + dy);
}

QRect FitRect(const QRect& size, const QRect& target) {
  const int w = size.width(), h = size.height();
  if (w <= 0 || h <= 0) return QRect(target.topLeft(), QSize(0, 0));
  const double f = std::min(static_cast<double>(target.width()) / w, static_cast<double>(target.height()) / h);
  return QRect(target.x(), target.y(), Round(w * f), Round(h * f));
}

void RectSize(const QRect& r, int& width, int& height) {
  width = r.width();
  height = r.height();
}

namespace {

bool PtInRect(const QRect& r, int x, int y) {
  return x >= r.x() && x < r.x() + r.width() && y >= r.y() && y < r.y() + r.height();
}

}  // namespace

bool RectInRect(const QRect& inner, const QRect& outer) {
  return PtInRect(outer, inner.x(), inner.y()) &&
         PtInRect(outer, inner.x() + inner.width(), inner.y() + inner.height());
}

void RotatedRectSize(QRect& r, int angle) {
  if (angle == 0) return;
  const double a = angle * 0.017453292519943295;
  const double c = std::cos(a), s = std::sin(a);
  const int hw = r.width() / 2, hh = r.height() / 2;
  const int cx = r.x() + hw, cy = r.y() + hh;
  const int x1 = Round(hw * c - hh * s), x2 = Round(hw * c + hh * s);
  const int y1 = Round(hw * s - hh * c), y2 = Round(hw * s + hh * c);
  const int xs[] = {cx - x1, cx + x1, cx - x2, cx + x2};
  const int ys[] = {cy + y1, cy - y1, cy + y2, cy - y2};
  const auto [xmin, xmax] = std::minmax_element(std::begin(xs), std::end(xs));
  const auto [ymin, ymax] = std::minmax_element(std::begin(ys), std::end(ys));
  r = QRect(0, 0, *xmax - *xmin, *ymax - *ymin);
}

int MaxOfInts(std::span<const int> values) {
  assert(!values.empty());
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

int MinOfInts(std::span<const int> values) {
  assert(!values.empty());
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double MinOfExtended(std::span<const double> values) {
  assert(!values.empty());
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

int MidValue(int a, int b) { return static_cast<int>((static_cast<std::int64_t>(a) + b) / 2); }

bool IsBlank(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

QString TrimText(const QString& text) {
  qsizetype from = 0, to = text.size();
  while (from < to && text[from].unicode() <= u' ') ++from;
  while (to > from && text[to - 1].unicode() <= u' ') --to;
  return text.mid(from, to - from);
}

QString IncludeTrailingBackslash(const QString& text) {
  if (!IsBlank(text) && text.endsWith(u'\\')) return text;
  return text + u'\\';
}

QString ExcludeTrailingBackslash(const QString& text) {
  if (IsBlank(text) || !text.endsWith(u'\\')) return text;
  return text.left(text.size() - 1);
}

QString GetProgramDir() { return QCoreApplication::applicationDirPath() + u'/'; }

QString GetWindowsDir() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(dir);
  return dir + u'/';
}

QString GetSystemDir() { return GetWindowsDir(); }

QString GetPrefixPath(CtlPathPrefix prefix, bool with_separator) {
  QString dir;
  switch (prefix) {
    case ppWindows:
      dir = GetWindowsDir();
      break;
    case ppSystem:
      dir = GetSystemDir();
      break;
    case ppProgram:
      dir = GetProgramDir();
      break;
    case ppFixed:
      return QString();
  }
  if (!with_separator && dir.endsWith(u'/')) dir.chop(1);
  return dir;
}

namespace {
std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void CtlBeep() {
  if (BeepHook())
    BeepHook()();
  else if (qobject_cast<QApplication*>(QCoreApplication::instance()))
    QApplication::beep();
}

void SetCtlBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }
