// Small shared routines of the library: platform facts, rectangle arithmetic
// (right and bottom excluded: a QRect's x() + width() is its right edge),
// strings and folders. Key paths keep "\" separators; folders of files are
// given with a trailing "/".
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>

// The platform has the new-style controls: auto-detected styles are the Win40 ones.
constexpr bool IsWin9x = false;
constexpr bool IsWin98 = false;
constexpr bool IsWinNT = true;
constexpr bool HasWindowsExtension = true;

// Bits per pixel of the primary screen.
int GetScreenColorDepth();
int GetOSMinorVersion();
// The effective user's name, or "(inconnu)".
QString GetLogonUserName();

void GrowRect(QRect& r, int dx, int dy);
// The size rectangle scaled by min(W / w, H / h) (up or down) at the
// target's top left; an empty size gives an empty rectangle there.
QRect FitRect(const QRect& size, const QRect& target);
void RectSize(const QRect& r, int& width, int& height);
// Both corners inside with right and bottom excluded: a rectangle is not inside itself.
bool RectInRect(const QRect& inner, const QRect& outer);
// The bounding box of the rectangle turned by `angle` degrees, moved to (0, 0); angle 0 leaves it as it is.
void RotatedRectSize(QRect& r, int angle);
// The largest or smallest element; an empty span is a programming error (0 in release builds).
int MaxOfInts(std::span<const int> values);
int MinOfInts(std::span<const int> values);
double MinOfExtended(std::span<const double> values);
// (a + b) div 2, truncated toward zero, without overflow.
int MidValue(int a, int b);

bool IsBlank(const QString& text);
// Without leading and trailing blanks and control characters.
QString TrimText(const QString& text);
QString IncludeTrailingBackslash(const QString& text);
QString ExcludeTrailingBackslash(const QString& text);

enum CtlPathPrefix : std::uint8_t { ppWindows, ppSystem, ppProgram, ppFixed };

// The executable's folder, with "/".
QString GetProgramDir();
// No such folders here: both give the per-user configuration folder (made when missing), with "/".
QString GetWindowsDir();
QString GetSystemDir();
// The prefix's folder with or without its trailing "/"; ppFixed gives "".
QString GetPrefixPath(CtlPathPrefix prefix, bool with_separator);

// The warning beep of refused input. Tests put a hook in its place to count
// beeps; a null hook brings back QApplication::beep.
void CtlBeep();
void SetCtlBeepHook(std::function<void()> hook);
