// Free drawing and text routines shared by the caption strip and the picture
// components: banded gradient fill, text shortening with "...", stretched
// drawing with one transparent colour, small rectangle, colour, integer and
// memory helpers, and the hand and drag cursors. They keep no state besides
// the cursors and the four-digit-year flag.
#pragma once

#include "controls/ctlerror.h"
#include "controls/paintkit.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace components {

// Directions of GradientFillRect.
enum TFillDirection : std::uint8_t { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };

// Fills `r` with at most `colour_count` bands running from `start` to `end`
// (reversed for bottom-to-top and right-to-left). Each component of band i is
// begin + MulDiv(i, difference, n - 1); rows or columns left over at the far
// end take the end colour (top to bottom, left to right) or the start colour (the other two).
// An empty rectangle draws nothing; a count below 2 fills with `start`.
void GradientFillRect(QPainter& p, const QRect& r, CtlColor start, CtlColor end, TFillDirection direction,
                      std::uint8_t colour_count);

// Width of a text in pixels, as the canvas would draw it.
using TextWidth = std::function<int(const QString&)>;
// The text when it fits in `max_width`; else its first characters followed by
// "..." (the first shortening drops two characters); "..." when nothing fits.
QString ShortenString(const QString& text, const TextWidth& width, int max_width);
// The same, measured with the painter's font.
QString ShortenString(const QString& text, const QPainter& p, int max_width);

// Copies the rectangle (sx, sy, sw, sh) of `source` stretched nearest-pixel
// onto (x, y, w, h), leaving the canvas as it was where the source has the
// transparent colour or lies outside the picture. With a palette (non-empty)
// the transparent colour stands for its nearest palette entry, as a
// palette-relative colour does. Empty or negative sizes draw nothing; edges
// are summed in 64 bits, so places and sizes near the int limits do not wrap.
// Only the part the painter can show is worked out: its device and clip
// mapped back through its transform, and under a shrinking transform no more
// pixels than the device shows.
void StretchBltTransparent(QPainter& p, int x, int y, int w, int h, const QImage& source, int sx, int sy, int sw,
                           int sh, CtlColor transparent, const QList<QRgb>* palette);

// Draws `source` (of `bitmap`; an empty rectangle takes the whole bitmap)
// stretched nearest-pixel to (x, y, w, h), a width or height below 1 taking the
// bitmap's. Pixels of the transparent colour leave the canvas as it was;
// clNone draws opaquely, clDefault takes the bitmap's bottom-left pixel, and a
// monochrome bitmap always uses white; otherwise StretchBltTransparent with the
// bitmap's colour table as the palette.
void DrawBitmapTransparent(QPainter& p, int x, int y, int w, int h, const QImage& bitmap, QRect source,
                           CtlColor transparent);
// `source` of the bitmap unscaled at (x, y).
void DrawBitmapRectTransparent(QPainter& p, int x, int y, const QRect& source, const QImage& bitmap,
                               CtlColor transparent);

// Right - left and bottom - top (rectangles exclude their right and bottom edges).
inline int RectWidth(const QRect& r) { return r.width(); }
inline int RectHeight(const QRect& r) { return r.height(); }
inline int MaxInteger(int a, int b) { return a > b ? a : b; }
inline int MinInteger(int a, int b) { return a < b ? a : b; }
// Equal byte for byte.
bool CompareMemory(const void* a, const void* b, std::size_t count);

// The palette-relative flag of a colour (bit 25).
constexpr CtlColor kPaletteRelative = 0x02000000u;
// The colour as RGB (a system colour resolved) with the palette-relative flag.
CtlColor PaletteColor(CtlColor colour);

// A block of `size` zero bytes; none (null) for a size below 1 or when the
// memory cannot be had. FreeMemGlobal releases it (none is harmless) and
// clears the variable.
using GlobalMemory = void*;
GlobalMemory AllocMemGlobal(int size);
void FreeMemGlobal(GlobalMemory& block);

// The cursors of the hand (an open hand) and of dragging (a closed one).
constexpr int crHand = 14000;
constexpr int crDragHand = 14001;
// Puts both into the application's cursor table (CtlApplication::Cursor);
// done once at start-up, after the application object exists.
void RegisterCursors();
// Whether one of the program's windows is the active one.
bool ActiveWindowInThread();

// Whether a short date format writes the year with four digits: "YYYY"
// occurs in its upper-cased text.
bool ShortDateHasFourDigitYear(const QString& short_date_format);
// The four-digit-year flag: set from the system's short date format when
// first read (at start-up in the program), and settable.
bool FourDigitYear();
void SetFourDigitYear(bool on);

// "Function not yet implemented": the callers let it reach the operation's
// caller, which shows it.
class NotImplementedError : public std::runtime_error {
 public:
  NotImplementedError();
};
// "Stream read error": a stream ended inside a field, or a file's structure is broken.
class StreamReadError : public CtlReadError {
 public:
  StreamReadError();
};

// Puts back the normal cursor and raises NotImplementedError.
[[noreturn]] void NotImplemented();

}  // namespace components
