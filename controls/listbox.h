// The list box with columns: a header on top and a list below it, both held
// by a scroll box. Each item is one text in which a delimiter separates the
// column texts; the list box paints every item itself, placing the pieces
// under the header sections, with optional grid lines. Setting ItemIndex from
// code fires nothing; a selection the user makes fires `clicked`. The column
// widths can be kept in the settings storage. The header's sections can be
// flat or buttons, hot-tracked, drawn by the owner, and report clicks and
// drags; the list selects one item or several, and can keep its items sorted.
#pragma once

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <functional>
#include <vector>

#include "controls/inictrl.h"
#include "controls/scrollbox.h"

class QHeaderView;
class QListWidget;
class QStandardItemModel;

enum CtlLBGridLines : std::uint8_t { glNone, glHorizontal, glVertical, glBoth };
enum CtlListBoxStyle : std::uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum CtlIniUse : std::uint8_t { ioUseLink, ioUseGlobal, ioNone };
// The steps of a section drag in the header.
enum CtlSectionTrackState : std::uint8_t { tsTrackBegin, tsTrackMove, tsTrackEnd };

// The order of a sorted list: the whole item texts, column texts and
// delimiters included, compared without case ("10:..." before "5:...").
bool CtlListTextBefore(const QString& a, const QString& b);

// One column text of an item, clipped to `clip`: drawn from `at` on, its top
// left there, or its top right there for a right-to-left list.
struct CtlListPiece {
  QString text;
  QPoint at;
  QRect clip;
  bool operator==(const CtlListPiece&) const = default;
};

// The pieces of `text` split at `delimiter` under sections of `widths`, for
// the item rectangle `item`: column i from x(i) to x(i) + width(i), with
// x(0) = item left and x(i + 1) = x(i) + width(i) + 1, its text at
// (x(i) + 2, top + 1); pieces past the last section are left out. Without
// sections the whole text at (left + 2, top). A blank text gives nothing.
// A right-to-left list mirrors it all inside the item, as its header mirrors
// the sections: column 0 at the right, each text ending 2 pixels inside its
// column's right edge.
std::vector<CtlListPiece> CtlListItemPieces(const QString& text, QChar delimiter, const std::vector<int>& widths,
                                            const QRect& item, bool right_to_left = false);
// The x of each vertical grid line: left + the sum of widths 0..i − 1; in a
// right-to-left list of that width, mirrored.
std::vector<int> CtlListGridColumns(const std::vector<int>& widths, int left, int mirror_width = 0);

class CtlListBox : public CtlCustomScrollBox {
  Q_OBJECT
 public:
  // Replaces the built-in painter when Style is not lbStandard.
  using DrawItemEvent = std::function<void(CtlListBox*, QPainter&, int index, const QRect&, bool selected)>;
  // The inner list, the item's index and its height (ItemHeight when called).
  using MeasureItemEvent = std::function<void(QListWidget* list, int index, int& height)>;
  // The header's events: a section clicked; a section to paint (instead of
  // the built-in look), whether it is held down; a section dragged to `width`.
  using HeaderSectionEvent = std::function<void(QHeaderView* header, int section)>;
  using HeaderDrawSectionEvent =
      std::function<void(QHeaderView* header, QPainter&, int section, const QRect&, bool pressed)>;
  using HeaderSectionTrackEvent =
      std::function<void(QHeaderView* header, int section, int width, CtlSectionTrackState state)>;

  explicit CtlListBox(QWidget* parent = nullptr);
  // Saves the column widths when a settings storage is in use.
  ~CtlListBox() override;

  QStringList Items() const;
  void SetItems(const QStringList& items);
  void AddItem(const QString& text);
  void Clear();
  int Count() const;
  // −1 when nothing is selected; an index out of range selects nothing.
  int ItemIndex() const;
  void SetItemIndex(int i);

  QChar Delimiter() const { return delimiter_; }
  void SetDelimiter(QChar c);
  CtlLBGridLines GridLines() const { return grid_; }
  void SetGridLines(CtlLBGridLines g);
  CtlColor GridHorzColor() const { return grid_horz_; }
  void SetGridHorzColor(CtlColor c);
  CtlColor GridVertColor() const { return grid_vert_; }
  void SetGridVertColor(CtlColor c);
  CtlColor SelectedColor() const { return selected_color_; }
  void SetSelectedColor(CtlColor c);
  // The list's colour (white).
  CtlColor ListColor() const { return list_color_; }
  void SetListColor(CtlColor c);
  CtlListBoxStyle Style() const { return style_; }
  // lbStandard takes the font's height as ItemHeight; items are always painted here.
  void SetStyle(CtlListBoxStyle s);
  int ItemHeight() const { return item_height_; }
  // Only while Style is not lbStandard.
  void SetItemHeight(int h);
  void SetListFont(const QFont& f);
  DrawItemEvent OnDrawItem;
  // Asked for every item's height while Style is lbOwnerDrawVariable.
  MeasureItemEvent OnMeasureItem;

  // Selection: one item without MultiSelect; with it, ExtendedSelect takes
  // Shift ranges and Ctrl toggles, else every click toggles its item.
  bool ExtendedSelect() const { return extended_select_; }
  void SetExtendedSelect(bool on);
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool on);
  bool Selected(int i) const;
  void SetSelected(int i, bool on);
  // Keeps the items in CtlListTextBefore order, added ones included; the
  // selected items stay selected when it is switched on.
  bool Sorted() const { return sorted_; }
  void SetSorted(bool on);

  // Header sections.
  void AddSection(const QString& caption, int width);
  void ClearSections();
  int SectionCount() const;
  int SectionWidth(int i) const;
  void SetSectionWidth(int i, int width);
  QString SectionCaption(int i) const;
  std::vector<int> SectionWidths() const;
  // The older column definitions are not read: always throws CtlError.
  [[noreturn]] void SetSections(const QStringList& sections);
  int HeaderHeight() const { return header_height_; }
  void SetHeaderHeight(int h);
  bool HeaderVisible() const { return header_visible_; }
  void SetHeaderVisible(bool on);
  bool AllowResize() const { return allow_resize_; }
  void SetAllowResize(bool on);
  // The header's font, copied.
  QFont HeaderFont() const;
  void SetHeaderFont(const QFont& f);
  // The section under the pointer shows hot (its caption in the hot colour).
  bool HeaderHotTrack() const { return header_hot_track_; }
  void SetHeaderHotTrack(bool on);
  // Flat sections, never drawn pushed, instead of buttons.
  bool HeaderFlat() const { return header_flat_; }
  void SetHeaderFlat(bool on);
  // The section under the pointer while HeaderHotTrack is on, else −1.
  int HotSection() const;
  HeaderSectionEvent OnHeaderSectionClick;
  // When set, paints every section.
  HeaderDrawSectionEvent OnHeaderDrawSection;
  HeaderSectionTrackEvent OnHeaderSectionTrack;
  // Above 0: the width of the content, scrolled horizontally with the header.
  int VirtualWidth() const { return virtual_width_; }
  void SetVirtualWidth(int w);

  // 0 HeaderHeight, 1 ItemIndex, 2 top index, 3 selected count, 4 ItemHeight, 5 section count.
  int GetIntProp(int index) const;
  // 0 HeaderHeight, 1 ItemIndex, 2 top index, 4 ItemHeight.
  void SetIntProp(int index, int value);

  // Settings of the column widths: "45,80" under (Section, IniKey).
  CtlIniUse IniUse() const { return ini_use_; }
  void SetIniUse(CtlIniUse u) { ini_use_ = u; }
  CtlIniCtrl* IniLink() const { return ini_link_; }
  void SetIniLink(CtlIniCtrl* link) { ini_link_ = link; }
  QString Section = QStringLiteral("Common");
  QString IniKey = QStringLiteral("ListBoxData");
  // The widths as settings text, "45,80".
  QString WidthsText() const;
  // Applies a settings text: entries that are not integers from 0 to 32767
  // are skipped; sections "S. n" are added as needed.
  void ApplyWidthsText(const QString& text);
  // Read and write through the storage of IniUse (none with ioNone).
  void RestoreWidths();
  void SaveWidths();

  QHeaderView* Header() const;
  QListWidget* List() const;
  // Paints one item as the list does (for the delegate and for tests).
  void PaintItem(QPainter& p, const QRect& r, int index, bool selected, bool focused) const;

 signals:
  void clicked();
  void doubleClicked();
  void headerSized(int index, int width);
  void headerSectionResize(int index);
  void iniReadData(CtlIniCtrl* storage);
  void iniWriteData(CtlIniCtrl* storage);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  class Delegate;
  class InnerList;
  class HeaderView;
  void ApplySelectionMode();
  // Where a sorted list takes `text`.
  int SortedRow(const QString& text) const;
  CtlIniCtrl* Storage() const;
  void Realign();
  void SectionResized(int index, int width);

  QWidget* body_;
  HeaderView* header_;
  QStandardItemModel* sections_;
  InnerList* list_;
  QChar delimiter_ = u';';
  CtlLBGridLines grid_ = glNone;
  CtlColor grid_horz_ = 0xC0C0C0, grid_vert_ = 0xC0C0C0;
  CtlColor selected_color_ = clHighlight, list_color_ = clWhite;
  CtlListBoxStyle style_ = lbStandard;
  int item_height_ = 13;
  int header_height_ = 25;
  bool header_visible_ = true, allow_resize_ = true;
  bool header_hot_track_ = false, header_flat_ = false;
  bool extended_select_ = true, multi_select_ = false, sorted_ = false;
  int virtual_width_ = 0;
  CtlIniUse ini_use_ = ioNone;
  QPointer<CtlIniCtrl> ini_link_;
  bool quiet_ = false;  // selection changes made by code
  bool restored_ = false;
};
