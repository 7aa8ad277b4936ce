// Combo boxes of the library. Only the user's actions fire signals: setting
// the index or the text from code fires nothing; a choice made in the list
// fires `selected`, updates the recently-used section, then fires `changed`;
// typing into the edit part fires `changed`. Extras: a flat border, a section
// of recently chosen items at the top, incremental search with completion,
// the dropped list's width, the focus handed over after a choice, owner
// drawing. The image combo box draws a picture-list image beside each item.
#pragma once

#include <QComboBox>
#include <QPointer>
#include <functional>

#include "controls/imagelist.h"
#include "controls/paintkit.h"
#include "controls/controltimer.h"
#include "controls/properties.h"

class CtlComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit CtlComboBox(QWidget* parent = nullptr);

  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  // Minimum width of the dropped list (0: the box's own).
  int DropDownWidth() const { return drop_down_width_; }
  void SetDropDownWidth(int width);
  // Receives the focus after a choice not made with the arrow keys while closed, and on Return.
  QWidget* FocusControl() const { return focus_control_; }
  void SetFocusControl(QWidget* w) { focus_control_ = w; }

  // Incremental search: switching it on sorts the list.
  bool Search() const { return search_; }
  void SetSearch(bool on);
  int Interval() const { return interval_; }
  void SetInterval(int ms) { interval_ = ms; }
  bool SearchPending() const { return search_timer_.Active(); }

  // Recently chosen items at the top of the list.
  bool MRUList() const { return mru_list_; }
  void SetMRUList(bool on);
  int MRUMax() const { return mru_max_; }
  void SetMRUMax(int max);
  int MRUCount() const { return mru_count_; }

  // Owner drawing of an item (popup items, and the closed box's current item with `index` ≥ 0).
  using DrawItemEvent = std::function<void(QPainter& p, const QRect& r, int index, bool selected)>;
  DrawItemEvent OnDrawItem;
  // Height of an item; unset, the default height (4 pixels more with MRUList).
  std::function<int(int index)> OnMeasureItem;
  // Height of item `index` as the list shows it.
  virtual int ItemHeight(int index) const;
  // Drops the list (firing dropDown first).
  void showPopup() override;

 signals:
  void selected();
  void changed();
  void editClicked();
  void dropDown();

 protected:
  // Draws one item of the list or of the closed box.
  virtual void DrawItem(QPainter& p, const QRect& r, int index, bool selected);
  // Whether the library draws the items (owner drawing, the section's marks, images).
  virtual bool DrawsItems() const { return OnDrawItem || mru_list_; }

  void paintEvent(QPaintEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  bool event(QEvent* e) override;

 private:
  friend class CtlComboDelegate;
  void UserChoice(int index);
  void UpdateMRU(int index);
  void SearchTick();
  void HandFocus();
  void DrawFlatFrames(QPainter& p);

  bool flat_ = false;
  bool pointer_inside_ = false;
  int drop_down_width_ = 0;
  QPointer<QWidget> focus_control_;
  bool search_ = false;
  int interval_ = 1500;
  int typed_ = 0;
  CtlPoolTimer search_timer_;
  bool mru_list_ = false;
  int mru_max_ = 5;
  int mru_count_ = 0;
  bool arrow_key_ = false;
};

enum CtlImageBoxOption : unsigned {
  lboImageListOrder = 1,
  lboCheckImageNr = 2,
  lboCalcHeight = 4,
  lboTransparentImages = 8
};

class CtlImageComboBox : public CtlComboBox {
  Q_OBJECT
 public:
  explicit CtlImageComboBox(QWidget* parent = nullptr);
  ~CtlImageComboBox() override;

  // An image list (the images of strip ListIndex) or a bitmap list (its entries).
  void SetImageList(const CtlCustomImageList* list);
  void SetListIndex(int l);  // negative values are ignored
  int ListIndex() const { return list_index_; }
  unsigned Options() const { return options_; }
  void SetOptions(unsigned options);
  QChar Delimiter() const { return delimiter_; }
  void SetDelimiter(QChar d);
  int DefaultItem() const { return default_item_; }
  void SetDefaultItem(int i);
  // One empty item per image.
  bool ImagesOnly() const { return images_only_; }
  void SetImagesOnly(bool on);
  bool Multiline() const { return multiline_; }
  void SetMultiline(bool on);
  Ctl3DCaption& Font3D() { return font3d_; }
  CtlGlyphTextLayout& Layout() { return layout_; }

  int ImageCount() const;
  // The image of item i, or -1 for none.
  int ImageIndexOf(int i) const;
  // The text shown for item i.
  QString ShownText(int i) const;
  int ItemHeight(int index) const override;

 protected:
  void DrawItem(QPainter& p, const QRect& r, int index, bool selected) override;
  bool DrawsItems() const override { return true; }

 private:
  QImage Image(int k) const;
  void ListChanged();

  CtlChangeLink link_;
  int list_index_ = 0;
  unsigned options_ = lboImageListOrder | lboCheckImageNr;
  QChar delimiter_ = '|';
  int default_item_ = -1;
  bool images_only_ = false;
  bool multiline_ = false;
  Ctl3DCaption font3d_;
  CtlGlyphTextLayout layout_;
};
