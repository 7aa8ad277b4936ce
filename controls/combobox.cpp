#include "controls/combobox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <climits>

#include "platform/nombres.h"

// Draws the dropped list's items through the box.
class CtlComboDelegate : public QStyledItemDelegate {
 public:
  explicit CtlComboDelegate(CtlComboBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!box_->DrawsItems()) return QStyledItemDelegate::paint(p, option, index);
    p->save();
    box_->DrawItem(*p, option.rect, index.row(), option.state & QStyle::State_Selected);
    p->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    if (box_->DrawsItems()) s.setHeight(box_->ItemHeight(index.row()));
    return s;
  }

 private:
  CtlComboBox* box_;
};

CtlComboBox::CtlComboBox(QWidget* parent) : QComboBox(parent), search_timer_([this] { SearchTick(); }) {
  setMaxVisibleItems(8);
  setItemDelegate(new CtlComboDelegate(this));
  view()->installEventFilter(this);
  // Only the user's choices: never currentIndexChanged or currentTextChanged.
  connect(this, qOverload<int>(&QComboBox::activated), this, &CtlComboBox::UserChoice);
}

void CtlComboBox::SetFlat(bool flat) { if (CtlStore(flat_, flat)) update(); }

void CtlComboBox::SetDropDownWidth(int width) {
  if (!CtlStore(drop_down_width_, width)) return;
  view()->setMinimumWidth(std::max(width, 0));
}

void CtlComboBox::SetSearch(bool on) {
  if (!CtlStore(search_, on)) return;
  if (on) {
    model()->sort(0);
    if (!isEditable()) setEditable(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CtlComboBox::changed, Qt::UniqueConnection);
  }
}

void CtlComboBox::SetMRUList(bool on) {
  if (!CtlStore(mru_list_, on)) return;
  if (!on) {
    while (mru_count_ > 0) {
      removeItem(0);
      --mru_count_;
    }
  }
  update();
}

void CtlComboBox::SetMRUMax(int max) {
  max = std::max(max, 0);
  if (!CtlStore(mru_max_, max)) return;
  while (mru_count_ > mru_max_) removeItem(--mru_count_);
}

int CtlComboBox::ItemHeight(int index) const {
  if (OnMeasureItem) return OnMeasureItem(index);
  const int h = fontMetrics().height() + 2;
  return mru_list_ ? h + 4 : h;
}

void CtlComboBox::UserChoice(int index) {
  QPointer<CtlComboBox> self(this);
  emit selected();
  if (!self) return;
  if (mru_list_) UpdateMRU(index);
  emit changed();
  if (!self) return;
  if (!arrow_key_) HandFocus();
}

void CtlComboBox::UpdateMRU(int index) {
  const QString text = itemText(index);
  for (int k = 0; k < mru_count_; ++k)
    if (itemText(k) == text) {
      setCurrentIndex(k);
      return;
    }
  if (mru_max_ == 0) return;
  if (mru_count_ >= mru_max_) removeItem(mru_count_ - 1);
  else ++mru_count_;
  insertItem(0, text);
  setCurrentIndex(0);
}

void CtlComboBox::HandFocus() {
  if (!focus_control_ || !focus_control_->isEnabled()) return;
  // The closing list gives the focus back to the box first: hand it over after that.
  QPointer<QWidget> cible = focus_control_;
  QMetaObject::invokeMethod(
      this, [cible] { if (cible) cible->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
}

void CtlComboBox::SearchTick() {
  search_timer_.Stop();
  if (!isEditable()) return;
  const QString typed = lineEdit()->text().left(typed_);
  for (int i = 0; i < count(); ++i)
    if (itemText(i).startsWith(typed, Qt::CaseInsensitive)) {
      setCurrentIndex(i);
      lineEdit()->setText(itemText(i));
      lineEdit()->setSelection(typed.size(), itemText(i).size() - typed.size());
      return;
    }
}

void CtlComboBox::keyPressEvent(QKeyEvent* e) {
  const bool closed = !view()->isVisible();
  arrow_key_ = closed && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down);
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && closed) {
    QComboBox::keyPressEvent(e);
    HandFocus();
    return;
  }
  QComboBox::keyPressEvent(e);
  arrow_key_ = false;
  if (!search_ || !isEditable()) return;
  const bool efface = e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete;
  if (efface || !e->text().isEmpty()) {
    typed_ = lineEdit()->cursorPosition();
    search_timer_.Start(efface ? interval_ + 1000 : interval_);
  }
}

bool CtlComboBox::event(QEvent* e) {
  // The edit part, made when the box becomes editable, reports its clicks.
  if (e->type() == QEvent::ChildAdded)
    if (auto* edit = qobject_cast<QLineEdit*>(static_cast<QChildEvent*>(e)->child())) edit->installEventFilter(this);
  return QComboBox::event(e);
}

bool CtlComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == lineEdit() && e->type() == QEvent::MouseButtonPress) emit editClicked();
  // A Return in the open list chooses; the focus moves on afterwards.
  if (watched == view() && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) arrow_key_ = false;
  }
  return QComboBox::eventFilter(watched, e);
}

void CtlComboBox::showPopup() {
  emit dropDown();
  QComboBox::showPopup();
}

void CtlComboBox::enterEvent(QEnterEvent* e) {
  pointer_inside_ = true;
  QComboBox::enterEvent(e);
  if (flat_) update();
}

void CtlComboBox::leaveEvent(QEvent* e) {
  pointer_inside_ = false;
  QComboBox::leaveEvent(e);
  if (flat_) update();
}

void CtlComboBox::focusInEvent(QFocusEvent* e) {
  QComboBox::focusInEvent(e);
  if (flat_) update();
}

void CtlComboBox::focusOutEvent(QFocusEvent* e) {
  QComboBox::focusOutEvent(e);
  if (flat_) update();
}

void CtlComboBox::DrawItem(QPainter& p, const QRect& r, int index, bool sel) {
  if (OnDrawItem) {
    OnDrawItem(p, r, index, sel);
  } else {
    CtlFillRect(p, r, ColorToRgb(sel ? clHighlight : clWindow));
    p.setPen(ColorToRgb(sel ? clHighlightText : clWindowText));
    p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, itemText(index));
  }
  // The recently-used section ends with two black lines.
  if (mru_list_ && mru_count_ > 0 && index == mru_count_ - 1) {
    CtlLine(p, r.left(), r.bottom() - 2, r.right() + 1, r.bottom() - 2, Qt::black);
    CtlLine(p, r.left(), r.bottom(), r.right() + 1, r.bottom(), Qt::black);
  }
}

void CtlComboBox::paintEvent(QPaintEvent* e) {
  QComboBox::paintEvent(e);
  QPainter p(this);
  CtlPreparePainter(p);
  if (DrawsItems() && currentIndex() >= 0 && !isEditable()) {
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QRect r = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    DrawItem(p, r, currentIndex(), hasFocus());
  }
  if (flat_) DrawFlatFrames(p);
}

void CtlComboBox::DrawFlatFrames(QPainter& p) {
  const QColor face = ColorToRgb(clBtnFace), window = ColorToRgb(clWindow);
  QRect r = rect();
  if (!pointer_inside_ && !hasFocus()) {
    CtlFrameRect(p, r, face);
    CtlFrameRect(p, r.adjusted(1, 1, -1, -1), face);
    CtlFrameRect(p, r.adjusted(2, 2, -2, -2), window);
    return;
  }
  CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  CtlFrameRect(p, r, ColorToRgb(clWindowFrame));
  CtlFrameRect(p, r.adjusted(1, 1, -1, -1), window);
}

// ---------------------------------------------------------- image combo box

CtlImageComboBox::CtlImageComboBox(QWidget* parent) : CtlComboBox(parent) {
  link_.OnChange = [this](CtlBaseContainer*) { ListChanged(); };
  font3d_.OnChange = [this](CtlObject*) { update(); };
  layout_.OnChange = font3d_.OnChange;
}

CtlImageComboBox::~CtlImageComboBox() {
  font3d_.OnChange = nullptr;
  layout_.OnChange = nullptr;
}

void CtlImageComboBox::SetImageList(const CtlCustomImageList* list) {
  if (link_.Container()) link_.Container()->RemoveLink(&link_);
  if (list) const_cast<CtlCustomImageList*>(list)->AddLink(&link_);
  ListChanged();
}

void CtlImageComboBox::SetListIndex(int l) {
  if (l < 0 || l == list_index_) return;
  list_index_ = l;
  ListChanged();
}

void CtlImageComboBox::SetOptions(unsigned options) {
  if (!CtlStore(options_, options)) return;
  view()->doItemsLayout();
  update();
}

void CtlImageComboBox::SetDelimiter(QChar d) {
  delimiter_ = d;
  update();
}

void CtlImageComboBox::SetDefaultItem(int i) {
  default_item_ = i;
  update();
}

void CtlImageComboBox::SetImagesOnly(bool on) { if (CtlStore(images_only_, on)) ListChanged(); }

void CtlImageComboBox::SetMultiline(bool on) {
  multiline_ = on;
  update();
}

void CtlImageComboBox::ListChanged() {
  if (images_only_) {
    clear();
    for (int k = 0; k < ImageCount(); ++k) addItem(QString());
  }
  view()->doItemsLayout();
  update();
}

int CtlImageComboBox::ImageCount() const {
  auto* list = static_cast<const CtlCustomImageList*>(link_.Container());
  if (!list) return 0;
  if (qobject_cast<const CtlBitmapList*>(list)) return list->Count();
  return list->GetImageCount(list_index_);
}

QImage CtlImageComboBox::Image(int k) const {
  auto* list = static_cast<const CtlCustomImageList*>(link_.Container());
  if (!list || k < 0 || k >= ImageCount()) return QImage();
  if (qobject_cast<const CtlBitmapList*>(list)) return list->GetImage(k, 0);
  return list->GetImage(list_index_, k);
}

QString CtlImageComboBox::ShownText(int i) const {
  const QString t = itemText(i);
  if (!(options_ & lboCheckImageNr)) return t;
  const int d = t.indexOf(delimiter_);
  return d < 0 ? t : t.left(d);
}

int CtlImageComboBox::ImageIndexOf(int i) const {
  if (i < 0 || i >= count()) return -1;
  if ((options_ & lboImageListOrder) && i < ImageCount()) return i;
  const QString t = itemText(i);
  const int d = t.indexOf(delimiter_);
  if (d < 0) return default_item_ != -1 ? default_item_ : -1;
  const auto n = platform::convertir_entier(t.mid(d + 1).toStdString());
  return n && *n >= 0 ? *n : -1;
}

int CtlImageComboBox::ItemHeight(int index) const {
  if (OnMeasureItem) return OnMeasureItem(index);
  if (!(options_ & lboCalcHeight)) return CtlComboBox::ItemHeight(index);
  const QImage img = Image(ImageIndexOf(index));
  int texte = fontMetrics().height();
  if (multiline_)
    texte = fontMetrics().boundingRect(QRect(0, 0, std::max(view()->width() - img.width() - 8, 1), 0),
                                        Qt::TextWordWrap, ShownText(index)).height();
  return std::max(img.height(), texte) + layout_.Spacing() + 14;
}

void CtlImageComboBox::DrawItem(QPainter& p, const QRect& r, int index, bool sel) {
  if (OnDrawItem) return CtlComboBox::DrawItem(p, r, index, sel);
  CtlFillRect(p, r, ColorToRgb(sel ? clHighlight : clWindow));
  const QImage img = Image(ImageIndexOf(index));
  const CtlColor transparent = (options_ & lboTransparentImages) && !img.isNull()
                                   ? QColorToCtl(img.pixelColor(0, img.height() - 1))
                                   : clNone;
  p.setFont(font());
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | (multiline_ ? Qt::TextWordWrap : Qt::TextSingleLine);
  DrawGlyphTextLayout(p, ShownText(index), &font3d_, layout_.Values(), &img, nullptr, transparent,
                      glEnabled | glNoShift, flags, img.rect(), r.adjusted(2, 0, -2, 0),
                      ColorToRgb(sel ? clHighlightText : clWindowText));
}
