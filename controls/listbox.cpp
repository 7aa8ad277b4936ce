#include "controls/listbox.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QListWidget>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdio>

#include "controls/application.h"
#include "controls/ctlerror.h"
#include "controls/ctlutils.h"
#include "controls/inictrl.h"
#include "controls/streams.h"
#include "platform/nombres.h"

namespace {

constexpr int kMaxStoredWidth = 32767;

// Calls back when resized: the list box lays out its header and list then.
class Body : public QWidget {
 public:
  explicit Body(std::function<void()> resized) : resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    resized_();
  }

 private:
  std::function<void()> resized_;
};

}  // namespace

std::vector<CtlListPiece> CtlListItemPieces(const QString& text, QChar delimiter, const std::vector<int>& widths,
                                            const QRect& item, bool right_to_left) {
  if (IsBlank(text)) return {};
  if (right_to_left) {
    std::vector<CtlListPiece> pieces = CtlListItemPieces(text, delimiter, widths, item, false);
    const int edges = item.left() + item.right();
    for (CtlListPiece& p : pieces) {
      p.clip.moveLeft(edges - p.clip.right());
      p.at.setX(edges - p.at.x());
    }
    return pieces;
  }
  if (widths.empty()) return {{text, QPoint(item.left() + 2, item.top()), item}};
  // A delimiter ends a piece: nothing follows a trailing one.
  QStringList parts = text.split(delimiter, Qt::KeepEmptyParts);
  if (text.endsWith(delimiter)) parts.removeLast();
  std::vector<CtlListPiece> pieces;
  int x = item.left();
  for (qsizetype i = 0; i < parts.size() && i < qsizetype(widths.size()); ++i) {
    const int w = widths[size_t(i)];
    pieces.push_back({parts[i], QPoint(x + 2, item.top() + 1), QRect(x, item.top(), w, item.height())});
    x += w + 1;
  }
  return pieces;
}

std::vector<int> CtlListGridColumns(const std::vector<int>& widths, int left, int mirror_width) {
  std::vector<int> xs;
  int sum = 0;
  for (int w : widths) {
    sum += w;
    xs.push_back(mirror_width > 0 ? mirror_width - 1 - (left + sum - 1) : left + sum - 1);
  }
  return xs;
}

// Paints every item through the list box, at its fixed height.
class CtlListBox::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(CtlListBox* box) : QStyledItemDelegate(box), box_(box) {}
  void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& index) const override {
    box_->PaintItem(*p, o.rect, index.row(), o.state & QStyle::State_Selected, o.state & QStyle::State_HasFocus);
  }
  QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& index) const override {
    int height = box_->item_height_;
    if (box_->style_ == lbOwnerDrawVariable && box_->OnMeasureItem) box_->OnMeasureItem(box_->List(), index.row(), height);
    return QSize(o.rect.width(), std::max(height, 0));
  }

 private:
  CtlListBox* box_;
};

// The list; its viewport draws the vertical grid lines over the items, since
// the delegate is clipped to its item.
class CtlListBox::InnerList : public QListWidget {
 public:
  InnerList(CtlListBox* box, QWidget* parent) : QListWidget(parent), box_(box) {}

 protected:
  void paintEvent(QPaintEvent* e) override {
    QListWidget::paintEvent(e);
    if (box_->grid_ != glVertical && box_->grid_ != glBoth) return;
    if (box_->SectionCount() == 0 || !AnyTextShown()) return;
    QPainter p(viewport());
    const QColor c = ColorToRgb(box_->grid_vert_);
    const int mirror = isRightToLeft() ? viewport()->width() : 0;
    for (int x : CtlListGridColumns(box_->SectionWidths(), -horizontalOffset(), mirror))
      CtlFillRect(p, QRect(x, 0, 1, viewport()->height()), c);
  }

 private:
  // Blank items draw no grid lines; the lines show once a shown item has text.
  bool AnyTextShown() const {
    const int first = indexAt(QPoint(0, 0)).row();
    if (first < 0) return false;
    for (int row = first; row < count(); ++row) {
      if (visualItemRect(item(row)).top() >= viewport()->height()) break;
      if (!IsBlank(item(row)->text())) return true;
    }
    return false;
  }

  CtlListBox* box_;
};

bool CtlListTextBefore(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

// The header: paints its sections as buttons, flat, or through the owner's
// event; follows the section under the pointer for hot tracking; and turns a
// drag of a section's edge into begin, move and end steps.
class CtlListBox::HeaderView : public QHeaderView {
 public:
  HeaderView(CtlListBox* box, QWidget* parent) : QHeaderView(Qt::Horizontal, parent), box_(box) {
    viewport()->setMouseTracking(true);
  }
  int Hot() const { return hot_; }
  void SetHot(int section) {
    if (!CtlStore(hot_, section)) return;
    viewport()->update();
  }
  // A section's size changed: a step of a drag while the button is held.
  void Resized(int section, int old_width, int width) {
    if (!held_ || !box_->OnHeaderSectionTrack) return;
    if (tracking_ != section) {
      tracking_ = section;
      box_->OnHeaderSectionTrack(this, section, old_width, tsTrackBegin);
    }
    box_->OnHeaderSectionTrack(this, section, width, tsTrackMove);
  }

 protected:
  void paintSection(QPainter* p, const QRect& r, int section) const override {
    const bool pressed = held_ && section == pressed_ && tracking_ < 0 && !box_->header_flat_;
    p->save();
    if (box_->OnHeaderDrawSection) {
      box_->OnHeaderDrawSection(const_cast<HeaderView*>(this), *p, section, r, pressed);
      p->restore();
      return;
    }
    CtlPreparePainter(*p);
    CtlFillRect(*p, r, ColorToRgb(clBtnFace));
    QRect face = r;
    if (box_->header_flat_) {
      CtlFillRect(*p, QRect(r.right(), r.top() + 2, 1, std::max(r.height() - 4, 0)), ColorToRgb(clBtnShadow));
    } else {
      CtlDrawEdge(*p, face, pressed ? BDR_SUNKENOUTER : BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      if (pressed) face.translate(1, 1);
    }
    const QStandardItem* item = box_->sections_->horizontalHeaderItem(section);
    const QString caption = item ? item->text() : QString();
    // Four pixels in when the caption fits so; a tight caption may cover the edges.
    const int margin = std::clamp((r.width() - fontMetrics().horizontalAdvance(caption)) / 2, 0, 4);
    const QRect text(r.left() + margin + (pressed ? 1 : 0), face.top(), r.width() - margin, face.height());
    p->setFont(font());
    p->setPen(!isEnabled() ? ColorToRgb(clGrayText) : section == hot_ ? kHotColour : ColorToRgb(clBtnText));
    p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                fontMetrics().elidedText(caption, Qt::ElideRight, std::max(text.width(), 0)));
    p->restore();
  }
  void mousePressEvent(QMouseEvent* e) override {
    held_ = e->button() == Qt::LeftButton;
    pressed_ = logicalIndexAt(e->position().toPoint());
    tracking_ = -1;
    QHeaderView::mousePressEvent(e);
    viewport()->update();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    QHeaderView::mouseMoveEvent(e);
    if (box_->header_hot_track_) SetHot(logicalIndexAt(e->position().toPoint()));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QHeaderView::mouseReleaseEvent(e);
    held_ = false;
    viewport()->update();
    const int section = tracking_;
    tracking_ = -1;
    if (section >= 0 && box_->OnHeaderSectionTrack)
      box_->OnHeaderSectionTrack(this, section, sectionSize(section), tsTrackEnd);
  }
  bool viewportEvent(QEvent* e) override {
    if (e->type() == QEvent::Leave) SetHot(-1);
    return QHeaderView::viewportEvent(e);
  }

 private:
  static inline const QColor kHotColour{0, 102, 204};
  CtlListBox* box_;
  int hot_ = -1;
  int pressed_ = -1;
  int tracking_ = -1;
  bool held_ = false;
};

CtlListBox::CtlListBox(QWidget* parent) : CtlCustomScrollBox(parent) {
  body_ = new Body([this] { Realign(); });
  header_ = new HeaderView(this, body_);
  sections_ = new QStandardItemModel(0, 0, this);
  header_->setModel(sections_);
  header_->setFocusPolicy(Qt::NoFocus);
  header_->setMinimumSectionSize(0);
  header_->setStretchLastSection(false);
  header_->setSectionsClickable(true);
  header_->setSectionResizeMode(QHeaderView::Interactive);
  list_ = new InnerList(this, body_);
  list_->setFrameShape(QFrame::NoFrame);
  list_->setUniformItemSizes(true);
  list_->setItemDelegate(new Delegate(this));
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  setWidget(body_);
  setWidgetResizable(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::NoFocus);
  setFocusProxy(list_);
  SetListColor(list_color_);
  SetStyle(lbStandard);
  connect(header_, &QHeaderView::sectionResized, this, [this](int i, int old, int w) {
    header_->Resized(i, old, w);
    SectionResized(i, w);
  });
  connect(header_, &QHeaderView::sectionClicked, this, [this](int i) {
    if (OnHeaderSectionClick) OnHeaderSectionClick(header_, i);
  });
  // A mouse press makes the row current before it selects it: with one
  // selection the row is selected here, so that ItemIndex already reads it
  // when `clicked` fires.
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (quiet_) return;
    if (!multi_select_ && row >= 0 && !list_->item(row)->isSelected())
      list_->selectionModel()->select(list_->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
    emit clicked();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, &CtlListBox::doubleClicked);
  resize(100, 100);
}

CtlListBox::~CtlListBox() {
  if (restored_) SaveWidths();
}

QListWidget* CtlListBox::List() const { return list_; }

QHeaderView* CtlListBox::Header() const { return header_; }

QStringList CtlListBox::Items() const {
  QStringList items;
  for (int i = 0; i < list_->count(); ++i) items << list_->item(i)->text();
  return items;
}

void CtlListBox::SetItems(const QStringList& items) {
  QStringList ordered = items;
  if (sorted_) std::stable_sort(ordered.begin(), ordered.end(), CtlListTextBefore);
  quiet_ = true;
  list_->clear();
  list_->addItems(ordered);
  quiet_ = false;
}

void CtlListBox::AddItem(const QString& text) {
  quiet_ = true;
  if (sorted_)
    list_->insertItem(SortedRow(text), text);
  else
    list_->addItem(text);
  quiet_ = false;
}

int CtlListBox::SortedRow(const QString& text) const {
  int low = 0, high = list_->count();
  while (low < high) {
    const int mid = (low + high) / 2;
    if (CtlListTextBefore(text, list_->item(mid)->text()))
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

void CtlListBox::SetSorted(bool on) {
  if (!CtlStore(sorted_, on)) return;
  if (!on) return;
  struct Row {
    QString text;
    bool selected, current;
  };
  std::vector<Row> rows;
  for (int i = 0; i < list_->count(); ++i)
    rows.push_back({list_->item(i)->text(), list_->item(i)->isSelected(), i == list_->currentRow()});
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return CtlListTextBefore(a.text, b.text); });
  quiet_ = true;
  list_->clear();
  for (const Row& row : rows) list_->addItem(row.text);
  for (int i = 0; i < int(rows.size()); ++i) {
    if (rows[size_t(i)].current) list_->setCurrentRow(i, QItemSelectionModel::NoUpdate);
    list_->item(i)->setSelected(rows[size_t(i)].selected);
  }
  quiet_ = false;
}

void CtlListBox::SetExtendedSelect(bool on) { if (CtlStore(extended_select_, on)) ApplySelectionMode(); }

void CtlListBox::SetMultiSelect(bool on) { if (CtlStore(multi_select_, on)) ApplySelectionMode(); }

void CtlListBox::ApplySelectionMode() {
  using View = QAbstractItemView;
  list_->setSelectionMode(!multi_select_   ? View::SingleSelection
                          : extended_select_ ? View::ExtendedSelection
                                             : View::MultiSelection);
  if (multi_select_) return;
  // One selected item at most: the current one, when it was selected.
  quiet_ = true;
  const int keep = ItemIndex();
  list_->clearSelection();
  if (keep >= 0) list_->item(keep)->setSelected(true);
  quiet_ = false;
}

bool CtlListBox::Selected(int i) const { return i >= 0 && i < list_->count() && list_->item(i)->isSelected(); }

void CtlListBox::SetSelected(int i, bool on) {
  if (i < 0 || i >= list_->count()) return;
  quiet_ = true;
  if (on && !multi_select_) list_->setCurrentRow(i);
  list_->item(i)->setSelected(on);
  quiet_ = false;
}

void CtlListBox::Clear() { SetItems({}); }

int CtlListBox::Count() const { return list_->count(); }

int CtlListBox::ItemIndex() const {
  // With several selections, the item that has the focus.
  const int row = list_->currentRow();
  return row >= 0 && (multi_select_ || list_->item(row)->isSelected()) ? row : -1;
}

void CtlListBox::SetItemIndex(int i) {
  quiet_ = true;
  if (i >= 0 && i < list_->count()) {
    list_->setCurrentRow(i);
  } else {
    list_->setCurrentRow(-1);
    list_->clearSelection();
  }
  quiet_ = false;
}

void CtlListBox::SetDelimiter(QChar c) { if (CtlStore(delimiter_, c)) list_->viewport()->update(); }

void CtlListBox::SetGridLines(CtlLBGridLines g) { if (CtlStore(grid_, g)) list_->viewport()->update(); }

void CtlListBox::SetGridHorzColor(CtlColor c) {
  grid_horz_ = c;
  list_->viewport()->update();
}

void CtlListBox::SetGridVertColor(CtlColor c) {
  grid_vert_ = c;
  list_->viewport()->update();
}

void CtlListBox::SetSelectedColor(CtlColor c) {
  selected_color_ = c;
  list_->viewport()->update();
}

void CtlListBox::SetListColor(CtlColor c) {
  list_color_ = c;
  QPalette pal = list_->palette();
  pal.setColor(QPalette::Base, ColorToRgb(c));
  list_->setPalette(pal);
  list_->viewport()->update();
}

void CtlListBox::SetStyle(CtlListBoxStyle s) {
  style_ = s;
  list_->setUniformItemSizes(s != lbOwnerDrawVariable);
  if (s == lbStandard) item_height_ = QFontMetrics(list_->font()).height();
  list_->doItemsLayout();
}

void CtlListBox::SetItemHeight(int h) {
  if (style_ == lbStandard || h <= 0 || h == item_height_) return;
  item_height_ = h;
  list_->doItemsLayout();
}

void CtlListBox::SetListFont(const QFont& f) {
  list_->setFont(f);
  if (style_ == lbStandard) SetStyle(lbStandard);
}

void CtlListBox::AddSection(const QString& caption, int width) {
  const int i = sections_->columnCount();
  sections_->setColumnCount(i + 1);
  sections_->setHorizontalHeaderItem(i, new QStandardItem(caption));
  header_->resizeSection(i, width);
}

void CtlListBox::ClearSections() { sections_->setColumnCount(0); }

int CtlListBox::SectionCount() const { return sections_->columnCount(); }

int CtlListBox::SectionWidth(int i) const { return i >= 0 && i < SectionCount() ? header_->sectionSize(i) : 0; }

void CtlListBox::SetSectionWidth(int i, int width) {
  if (i >= 0 && i < SectionCount()) header_->resizeSection(i, std::max(width, 0));
}

QString CtlListBox::SectionCaption(int i) const {
  const QStandardItem* item = i >= 0 && i < SectionCount() ? sections_->horizontalHeaderItem(i) : nullptr;
  return item ? item->text() : QString();
}

std::vector<int> CtlListBox::SectionWidths() const {
  std::vector<int> widths;
  for (int i = 0; i < SectionCount(); ++i) widths.push_back(header_->sectionSize(i));
  return widths;
}

void CtlListBox::SetSections(const QStringList&) {
  throw CtlError("This property is no longer used in control-library!");
}

void CtlListBox::SetHeaderHeight(int h) {
  if (h == header_height_ || h < 0) return;
  header_height_ = h;
  Realign();
}

void CtlListBox::SetHeaderVisible(bool on) { if (CtlStore(header_visible_, on)) Realign(); }

void CtlListBox::SetAllowResize(bool on) {
  allow_resize_ = on;
  header_->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

QFont CtlListBox::HeaderFont() const { return header_->font(); }

void CtlListBox::SetHeaderFont(const QFont& f) {
  header_->setFont(f);
  header_->viewport()->update();
}

void CtlListBox::SetHeaderHotTrack(bool on) {
  if (!CtlStore(header_hot_track_, on)) return;
  if (!on) header_->SetHot(-1);
}

void CtlListBox::SetHeaderFlat(bool on) { if (CtlStore(header_flat_, on)) header_->viewport()->update(); }

int CtlListBox::HotSection() const { return header_->Hot(); }

void CtlListBox::SetVirtualWidth(int w) {
  if (w == virtual_width_ || w < 0) return;
  virtual_width_ = w;
  body_->setMinimumWidth(w);
  horizontalScrollBar()->setValue(0);
  Realign();
}

void CtlListBox::Realign() {
  const int w = body_->width(), h = body_->height();
  int top = 0;
  header_->setVisible(header_visible_);
  if (header_visible_) {
    header_->setGeometry(0, 0, w, header_height_);
    top = header_height_;
  }
  list_->setGeometry(0, top, w, std::max(h - top, 0));
}

void CtlListBox::SectionResized(int index, int width) {
  list_->viewport()->update();
  emit headerSized(index, width);
  emit headerSectionResize(index);
}

int CtlListBox::GetIntProp(int index) const {
  switch (index) {
    case 0: return header_height_;
    case 1: return ItemIndex();
    case 2: return std::max(list_->indexAt(QPoint(0, 0)).row(), 0);
    case 3: return int(list_->selectedItems().size());
    case 4: return item_height_;
    case 5: return SectionCount();
    default: return 0;
  }
}

void CtlListBox::SetIntProp(int index, int value) {
  switch (index) {
    case 0: SetHeaderHeight(value); break;
    case 1: SetItemIndex(value); break;
    case 2:
      if (value >= 0 && value < list_->count()) list_->scrollToItem(list_->item(value), QAbstractItemView::PositionAtTop);
      break;
    case 4: SetItemHeight(value); break;
    default: break;
  }
}

void CtlListBox::PaintItem(QPainter& p, const QRect& r, int index, bool selected, bool focused) const {
  if (style_ != lbStandard && OnDrawItem) {
    OnDrawItem(const_cast<CtlListBox*>(this), p, index, r, selected);
    return;
  }
  p.save();
  CtlPreparePainter(p);
  const QColor back = ColorToRgb(selected ? selected_color_ : list_color_);
  const QColor ink = selected ? ColorToRgb(clHighlightText)
                     : list_->isEnabled() ? list_->palette().color(QPalette::Text)
                                          : ColorToRgb(clInactiveCaption);
  CtlFillRect(p, r, back);
  if (focused) {
    p.setPen(QPen(ink, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  const QString text = index >= 0 && index < list_->count() ? list_->item(index)->text() : QString();
  const bool rtl = list_->isRightToLeft();
  const std::vector<CtlListPiece> pieces = CtlListItemPieces(text, delimiter_, SectionWidths(), r, rtl);
  p.setFont(list_->font());
  p.setPen(ink);
  // Each piece reads in the direction of its own letters ("16 384 mesh" left
  // to right), wherever the list places it.
  p.setLayoutDirection(Qt::LayoutDirectionAuto);
  for (const CtlListPiece& piece : pieces) {
    p.setClipRect(piece.clip);
    // The text runs from `at` into its column, whatever way the painter reads.
    const QRect place = rtl ? QRect(QPoint(piece.at.x() - (1 << 15) + 1, piece.at.y()), QSize(1 << 15, r.height()))
                            : QRect(piece.at, QSize(1 << 15, r.height()));
    const Qt::Alignment side = rtl ? Qt::AlignRight : Qt::AlignLeft;
    p.drawText(place, side | Qt::AlignAbsolute | Qt::AlignTop | Qt::TextSingleLine, piece.text);
  }
  p.setClipping(false);
  if (!pieces.empty() && (grid_ == glHorizontal || grid_ == glBoth))
    CtlFillRect(p, QRect(r.left(), r.bottom(), r.width(), 1), ColorToRgb(grid_horz_));
  p.restore();
}

CtlIniCtrl* CtlListBox::Storage() const {
  if (ini_use_ == ioUseLink) return ini_link_;
  if (ini_use_ == ioUseGlobal) return CtlApplication::Instance()->Settings();
  return nullptr;
}

QString CtlListBox::WidthsText() const {
  QStringList parts;
  for (int w : SectionWidths()) parts << QString::number(w);
  return parts.join(u',');
}

void CtlListBox::ApplyWidthsText(const QString& text) {
  QStringList parts;
  SplitString(text, u',', &parts);
  for (int i = 0; i < int(parts.size()); ++i) {
    const auto w = platform::convertir_entier(parts[i].toStdString());
    if (!w || *w < 0 || *w > kMaxStoredWidth) continue;
    while (SectionCount() < i + 1) AddSection(QStringLiteral("S. %1").arg(SectionCount() + 1), *w);
    SetSectionWidth(i, *w);
  }
}

void CtlListBox::RestoreWidths() {
  CtlIniCtrl* storage = Storage();
  if (storage) ApplyWidthsText(storage->ReadString(Section, IniKey, QString()));
  emit iniReadData(storage);
}

void CtlListBox::SaveWidths() {
  CtlIniCtrl* storage = Storage();
  if (storage) {
    const QString text = WidthsText();
    try {
      if (text.isEmpty())
        storage->DeleteKey(Section, IniKey);
      else
        storage->WriteString(Section, IniKey, text);
    } catch (const CtlError& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
  }
  emit iniWriteData(storage);
}

void CtlListBox::showEvent(QShowEvent* e) {
  CtlCustomScrollBox::showEvent(e);
  if (restored_) return;
  restored_ = true;
  RestoreWidths();
}
