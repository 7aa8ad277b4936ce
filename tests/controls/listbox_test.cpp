// The list box with header: where the column pieces and grid lines go, what
// a painted item looks like, which selection changes fire `clicked`, the
// column widths kept in the settings storage, and the scroll box's frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>

#include "controls/ctlerror.h"
#include "controls/inictrl.h"
#include "controls/listbox.h"

namespace {

// Columns of pixels in `img` (rows top..bottom) that are not `back`.
std::vector<int> InkedColumns(const QImage& img, int top, int bottom, QColor back) {
  std::vector<int> xs;
  for (int x = 0; x < img.width(); ++x)
    for (int y = top; y <= bottom; ++y)
      if (QColor(img.pixel(x, y)) != back) {
        xs.push_back(x);
        break;
      }
  return xs;
}

QImage PaintedItem(const CtlListBox& box, int index, QSize size) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  box.PaintItem(p, QRect(QPoint(0, 0), size), index, false, false);
  return img;
}

}  // namespace

TEST(ListBox, PiecesGoUnderTheirSectionsAndGridLinesDrift) {
  const QRect item(0, 30, 200, 13);
  const auto pieces = CtlListItemPieces("7:    16 384 mesh", u':', {45, 80}, item);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], (CtlListPiece{"7", QPoint(2, 31), QRect(0, 30, 45, 13)}));
  EXPECT_EQ(pieces[1], (CtlListPiece{"    16 384 mesh", QPoint(48, 31), QRect(46, 30, 80, 13)}));
  EXPECT_EQ(CtlListGridColumns({45, 80}, 0), (std::vector<int>{44, 124}));

  const auto whole = CtlListItemPieces("no delimiter", u':', {45, 80}, item);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].clip, QRect(0, 30, 45, 13));
  EXPECT_TRUE(CtlListItemPieces("   ", u':', {45, 80}, item).empty());
  EXPECT_EQ(CtlListItemPieces("a:b:c", u':', {45}, item).size(), 1u);  // past the last section
  EXPECT_EQ(CtlListItemPieces("a:", u':', {45, 80}, item).size(), 1u);
  const auto headerless = CtlListItemPieces("Lev 4 > High ground", u' ', {}, item);
  ASSERT_EQ(headerless.size(), 1u);
  EXPECT_EQ(headerless[0], (CtlListPiece{"Lev 4 > High ground", QPoint(2, 30), item}));
  // A long text splits whole.
  EXPECT_EQ(CtlListItemPieces(QString(300, u'x') + ":y", u':', {45, 80}, item)[1].text, "y");
}

TEST(ListBox, PaintedItemsKeepTextInItsColumnAndBlanksBare) {
  CtlListBox box;
  box.SetDelimiter(u':');
  box.AddSection("Degree", 45);
  box.AddSection("Nr polygons", 80);
  box.SetItems({"7:    16 384 mesh", "   ", QString(40, u'W') + ":x"});
  box.SetGridLines(glBoth);
  const QColor white(Qt::white), grid = ColorToRgb(0xC0C0C0);

  const QImage first = PaintedItem(box, 0, QSize(200, 16));
  const auto inked = InkedColumns(first, 0, 14, white);
  ASSERT_FALSE(inked.empty());
  EXPECT_GE(inked.front(), 2);
  EXPECT_EQ(QColor(first.pixel(0, 15)), grid);  // the horizontal line on the last row
  EXPECT_EQ(QColor(first.pixel(199, 15)), grid);
  EXPECT_EQ(QColor(first.pixel(1, 0)), white);   // nothing above the text's top
  // The long first piece stops at its column.
  const QImage clipped = PaintedItem(box, 2, QSize(200, 16));
  for (int x : InkedColumns(clipped, 0, 14, white)) EXPECT_TRUE(x < 45 || x >= 46) << x;

  const QImage blank = PaintedItem(box, 1, QSize(200, 16));
  EXPECT_TRUE(InkedColumns(blank, 0, 15, white).empty());

  // Vertical lines over the whole list once the list shows text.
  box.resize(220, 120);
  box.show();
  QApplication::processEvents();
  const QImage list = box.List()->viewport()->grab().toImage();
  EXPECT_EQ(QColor(list.pixel(44, list.height() - 1)), grid);
  EXPECT_EQ(QColor(list.pixel(124, list.height() - 1)), grid);
  EXPECT_EQ(QColor(list.pixel(45, list.height() - 1)), white);
}

// Read right to left, the rows mirror their columns as the header mirrors
// its sections, and each piece's text shows inside its column.
TEST(ListBox, RightToLeftRowsMirrorTheirColumns) {
  const QRect item(0, 30, 200, 13);
  const auto pieces = CtlListItemPieces("7:    16 384 mesh", u':', {45, 80}, item, true);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], (CtlListPiece{"7", QPoint(197, 31), QRect(155, 30, 45, 13)}));
  EXPECT_EQ(pieces[1], (CtlListPiece{"    16 384 mesh", QPoint(151, 31), QRect(74, 30, 80, 13)}));
  EXPECT_EQ(CtlListGridColumns({45, 80}, 0, 200), (std::vector<int>{155, 75}));

  CtlListBox box;
  box.setLayoutDirection(Qt::RightToLeft);
  box.SetDelimiter(u':');
  box.AddSection("Degree", 45);
  box.AddSection("Nr polygons", 80);
  box.SetItems({"7:16 384 mesh"});
  QImage img(200, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    p.setLayoutDirection(Qt::RightToLeft);  // as on the list's own viewport
    box.PaintItem(p, img.rect(), 0, false, false);
  }
  const auto inked = InkedColumns(img, 0, 14, Qt::white);
  const auto under = [&](int from, int to) {
    return std::count_if(inked.begin(), inked.end(), [&](int x) { return x >= from && x <= to; });
  };
  EXPECT_GT(under(155, 199), 0);  // "7" under "Degree", at the right
  EXPECT_GT(under(75, 153), 0);   // the mesh under "Nr polygons"
  EXPECT_EQ(under(0, 73), 0);
  // The mesh reads left to right as in a left-to-right list: its first ink
  // (the "1" of "16") stands left of the word's.
  QImage ltr(200, 16, QImage::Format_RGB32);
  ltr.fill(Qt::white);
  {
    QPainter p(&ltr);
    CtlListBox gauche;
    gauche.SetDelimiter(u':');
    gauche.AddSection("Nr polygons", 200);
    gauche.SetItems({"16 384 mesh"});
    gauche.PaintItem(p, ltr.rect(), 0, false, false);
  }
  QImage rtl(200, 16, QImage::Format_RGB32);
  rtl.fill(Qt::white);
  {
    QPainter p(&rtl);
    p.setLayoutDirection(Qt::RightToLeft);
    CtlListBox droite;
    droite.setLayoutDirection(Qt::RightToLeft);
    droite.SetDelimiter(u':');
    droite.AddSection("Nr polygons", 200);
    droite.SetItems({"16 384 mesh"});
    droite.PaintItem(p, rtl.rect(), 0, false, false);
  }
  const auto a = InkedColumns(ltr, 0, 14, Qt::white), b = InkedColumns(rtl, 0, 14, Qt::white);
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  // The same run of ink moved to the right edge (to a pixel, as the text's
  // right end falls between pixels): not the number's groups swapped.
  const int shift = b.front() - a.front();
  EXPECT_GT(shift, 50);
  int apart = 0;
  for (int x : a)
    if (std::none_of(b.begin(), b.end(), [&](int y) { return std::abs(y - (x + shift)) <= 1; })) ++apart;
  EXPECT_LE(apart, 2) << "of " << a.size();
}

TEST(ListBox, CodeSelectsSilentlyAndTheUserFiresClicked) {
  CtlListBox box;
  EXPECT_EQ(box.SectionCount(), 0);  // lists built in code start without sections
  EXPECT_FALSE(box.List()->hasFocus());
  box.SetItems({"a", "b", "c"});
  QSignalSpy spy(&box, &CtlListBox::clicked);
  box.SetItemIndex(1);
  EXPECT_EQ(box.ItemIndex(), 1);
  box.SetItemIndex(7);
  EXPECT_EQ(box.ItemIndex(), -1);
  box.SetItemIndex(0);
  EXPECT_EQ(spy.count(), 0);
  QTest::keyClick(box.List(), Qt::Key_Down);
  EXPECT_EQ(box.ItemIndex(), 1);
  EXPECT_EQ(spy.count(), 1);
  // A mouse click: the handler of `clicked` already reads the clicked row.
  std::vector<int> lus;
  QObject::connect(&box, &CtlListBox::clicked, [&] { lus.push_back(box.ItemIndex()); });
  box.resize(100, 100);
  QListWidget* l = box.List();
  QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
  EXPECT_EQ(lus, std::vector<int>{2});
  EXPECT_EQ(box.ItemIndex(), 2);
  EXPECT_EQ(spy.count(), 2);
  spy.clear();
  box.SetItems({"x"});
  EXPECT_EQ(spy.count(), 0);
  EXPECT_THROW(box.SetSections({"old"}), CtlError);
  EXPECT_EQ(box.focusProxy(), box.List());
}

TEST(ListBox, StandardStyleTakesTheFontHeightAndHeaderResizesReport) {
  CtlListBox box;
  QFont f = box.font();
  f.setPixelSize(20);
  box.SetListFont(f);
  EXPECT_EQ(box.ItemHeight(), QFontMetrics(f).height());
  box.SetItemHeight(40);  // refused while standard
  EXPECT_EQ(box.GetIntProp(4), QFontMetrics(f).height());
  box.SetStyle(lbOwnerDrawFixed);
  box.SetIntProp(4, 40);
  EXPECT_EQ(box.ItemHeight(), 40);
  box.SetStyle(lbStandard);
  EXPECT_EQ(box.ItemHeight(), QFontMetrics(f).height());

  box.AddSection("A", 45);
  std::vector<std::pair<int, int>> sized;
  std::vector<int> order;
  QObject::connect(&box, &CtlListBox::headerSized, [&](int i, int w) {
    sized.push_back({i, w});
    order.push_back(1);
  });
  QObject::connect(&box, &CtlListBox::headerSectionResize, [&](int) { order.push_back(2); });
  box.Header()->resizeSection(0, 70);
  EXPECT_EQ(sized, (std::vector<std::pair<int, int>>{{0, 70}}));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(box.GetIntProp(5), 1);
  box.SetIntProp(0, 30);
  EXPECT_EQ(box.HeaderHeight(), 30);
}

TEST(ListBox, ColumnWidthsRoundTripThroughTheSettings) {
  CtlListBox box;
  box.AddSection("Degree", 45);
  box.AddSection("Nr polygons", 80);
  EXPECT_EQ(box.WidthsText(), "45,80");
  box.ApplyWidthsText("60,100,40");
  EXPECT_EQ(box.SectionWidths(), (std::vector<int>{60, 100, 40}));
  EXPECT_EQ(box.SectionCaption(2), "S. 3");
  box.ApplyWidthsText("61,x,41,-5,99999999999");
  EXPECT_EQ(box.SectionWidths(), (std::vector<int>{61, 100, 41}));

  QTemporaryDir dir;
  CtlIniCtrl ini;
  ini.SetTarget(itIniFile);
  ini.SetIniPrefix(ppFixed);
  ini.SetIniFile(dir.path() + "/list.ini");
  ini.WriteString("Common", "ListBoxData", "50,70");
  {
    CtlListBox stored;
    stored.AddSection("Degree", 45);
    stored.SetIniUse(ioUseLink);
    stored.SetIniLink(&ini);
    QSignalSpy read(&stored, &CtlListBox::iniReadData);
    stored.show();
    EXPECT_EQ(read.count(), 1);
    EXPECT_EQ(stored.SectionWidths(), (std::vector<int>{50, 70}));
    stored.SetSectionWidth(1, 90);
  }
  EXPECT_EQ(ini.ReadString("Common", "ListBoxData", ""), "50,90");
  {
    CtlListBox none;  // ioNone: nothing read or written
    none.AddSection("A", 10);
    none.show();
  }
  EXPECT_EQ(ini.ReadString("Common", "ListBoxData", ""), "50,90");
}

TEST(ListBox, VirtualWidthScrollsListAndHeaderTogether) {
  CtlListBox box;
  box.resize(100, 100);
  box.AddSection("A", 300);
  box.SetItems({"a;b"});
  box.show();
  QApplication::processEvents();
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
  box.SetVirtualWidth(400);
  QApplication::processEvents();
  EXPECT_EQ(box.List()->width(), 400);
  EXPECT_EQ(box.Header()->width(), 400);
  EXPECT_EQ(box.List()->y(), box.HeaderHeight());
  EXPECT_GT(box.horizontalScrollBar()->maximum(), 0);
  box.SetHeaderVisible(false);
  EXPECT_EQ(box.List()->y(), 0);
  box.SetVirtualWidth(-1);  // refused
  box.SetVirtualWidth(0);
  QApplication::processEvents();
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(box.List()->width(), box.viewport()->width());
}

TEST(ScrollBox, TheBevelFramesTheViewport) {
  CtlCustomScrollBox box;
  EXPECT_EQ(box.size(), QSize(185, 41));
  EXPECT_EQ(box.Bevel().Mode(), bmWindows);
  box.show();
  QApplication::processEvents();
  EXPECT_EQ(box.viewport()->geometry(), QRect(2, 2, 181, 37));
  const QImage shown = box.grab().toImage();
  EXPECT_EQ(QColor(shown.pixel(0, 20)), ColorToRgb(clBtnShadow));  // the sunken client edge
  box.SetCtl3D(false);
  EXPECT_EQ(box.frameWidth(), 1);
  box.Bevel().SetMode(bmStandard);
  box.Bevel().SetStandardStyle(lsNone);
  EXPECT_EQ(box.WindowEdgeWidth(), 0);
}

namespace {

void ClickRow(CtlListBox& box, int row, Qt::KeyboardModifiers mods = {}) {
  QListWidget* list = box.List();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, list->visualItemRect(list->item(row)).center());
}

std::vector<int> SelectedRows(const CtlListBox& box) {
  std::vector<int> rows;
  for (int i = 0; i < box.Count(); ++i)
    if (box.Selected(i)) rows.push_back(i);
  return rows;
}

void HeaderMouse(QHeaderView* h, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(h->viewport()->mapToGlobal(at)),
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
  QCoreApplication::sendEvent(h->viewport(), &e);
}

}  // namespace

TEST(ListBox, SingleMultipleAndExtendedSelection) {
  CtlListBox box;
  EXPECT_TRUE(box.ExtendedSelect());
  EXPECT_FALSE(box.MultiSelect());
  EXPECT_FALSE(box.Sorted());
  box.resize(150, 120);
  box.SetItems({"a", "b", "c", "d", "e"});
  box.show();
  ClickRow(box, 0);
  ClickRow(box, 2, Qt::ShiftModifier);  // one item only, whatever the keys
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{2}));

  box.SetMultiSelect(true);  // extended: Shift ranges, Ctrl toggles, a plain click starts again
  ClickRow(box, 0);
  ClickRow(box, 2, Qt::ShiftModifier);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{0, 1, 2}));
  ClickRow(box, 1, Qt::ControlModifier);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{0, 2}));
  EXPECT_EQ(box.ItemIndex(), 1);  // the focused item, even unselected
  EXPECT_EQ(box.GetIntProp(3), 2);
  ClickRow(box, 4);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{4}));

  box.SetExtendedSelect(false);  // every click toggles its item
  ClickRow(box, 1);
  ClickRow(box, 3);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{1, 3, 4}));
  ClickRow(box, 4);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{1, 3}));

  box.SetMultiSelect(false);  // back to one: the current item, when selected
  EXPECT_EQ(SelectedRows(box), std::vector<int>{});
  EXPECT_EQ(box.ItemIndex(), -1);
  box.SetSelected(3, true);
  EXPECT_EQ(box.ItemIndex(), 3);
  EXPECT_EQ(SelectedRows(box), (std::vector<int>{3}));
}

TEST(ListBox, SortingTakesTheWholeDelimitedText) {
  CtlListBox box;
  box.SetDelimiter(u':');
  box.AddSection("Degree", 45);
  box.AddSection("Nr polygons", 80);
  box.SetItems({"9:262 144 mesh", "10:1 048 576 mesh", "5:1 024 mesh"});
  box.SetItemIndex(2);
  box.SetSorted(true);
  EXPECT_EQ(box.Items(), (QStringList{"10:1 048 576 mesh", "5:1 024 mesh", "9:262 144 mesh"}));
  EXPECT_EQ(box.ItemIndex(), 1);  // the selection follows its item
  box.AddItem("7:16 384 mesh");
  box.AddItem("b:later");
  box.AddItem("B:later too");  // equal without case: after the first
  box.AddItem("11:4 194 304 mesh");
  EXPECT_EQ(box.Items(), (QStringList{"10:1 048 576 mesh", "11:4 194 304 mesh", "5:1 024 mesh", "7:16 384 mesh",
                                      "9:262 144 mesh", "b:later", "B:later too"}));
  EXPECT_EQ(box.ItemIndex(), 2);
  box.SetItems({"z", "A", "m"});
  EXPECT_EQ(box.Items(), (QStringList{"A", "m", "z"}));
  box.SetSorted(false);
  box.AddItem("b");
  EXPECT_EQ(box.Items().last(), "b");
  // The columns of a sorted item are still cut at the delimiter.
  const auto pieces = CtlListItemPieces(QStringList{"10:1 048 576 mesh"}.first(), u':', box.SectionWidths(), QRect(0, 0, 200, 13));
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1].text, "1 048 576 mesh");
}

TEST(ListBox, MeasureItemGivesVariableHeights) {
  CtlListBox box;
  box.resize(150, 200);
  box.SetItems({"a", "b", "c"});
  std::vector<std::pair<int, int>> asked;  // index, height handed in
  QListWidget* sender = nullptr;
  box.OnMeasureItem = [&](QListWidget* list, int index, int& height) {
    sender = list;
    asked.emplace_back(index, height);
    height = 10 + 5 * index;
  };
  box.show();
  QListWidget* list = box.List();
  EXPECT_EQ(list->visualItemRect(list->item(2)).height(), box.ItemHeight());  // only for variable items
  EXPECT_TRUE(asked.empty());
  box.SetStyle(lbOwnerDrawFixed);
  box.SetItemHeight(17);
  box.SetStyle(lbOwnerDrawVariable);
  QCoreApplication::processEvents();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list->visualItemRect(list->item(i)).height(), 10 + 5 * i) << i;
  EXPECT_EQ(sender, list);
  ASSERT_FALSE(asked.empty());
  for (auto [index, height] : asked) {
    EXPECT_GE(index, 0);
    EXPECT_LT(index, 3);
    EXPECT_EQ(height, 17);
  }
}

TEST(ListBox, HeaderEventsLookAndFont) {
  CtlListBox box;
  box.resize(200, 120);
  box.AddSection("Degree", 45);
  box.AddSection("Nr polygons", 80);
  EXPECT_FALSE(box.HeaderHotTrack());
  EXPECT_FALSE(box.HeaderFlat());
  QFont f = box.HeaderFont();
  f.setPixelSize(17);
  box.SetHeaderFont(f);
  f.setPixelSize(9);  // copied: a later change of the caller's font is not seen
  EXPECT_EQ(box.HeaderFont().pixelSize(), 17);
  std::vector<int> clicks;
  QHeaderView* click_sender = nullptr;
  box.OnHeaderSectionClick = [&](QHeaderView* h, int s) {
    click_sender = h;
    clicks.push_back(s);
  };
  std::vector<std::tuple<int, int, CtlSectionTrackState>> track;
  box.OnHeaderSectionTrack = [&](QHeaderView*, int s, int w, CtlSectionTrackState st) { track.emplace_back(s, w, st); };
  box.show();
  QHeaderView* h = box.Header();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(90, 10));
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_EQ(click_sender, h);
  EXPECT_TRUE(track.empty());

  // A drag of the first section's edge from 45 to 60, then to 70.
  HeaderMouse(h, QEvent::MouseButtonPress, QPoint(44, 10), Qt::LeftButton);
  HeaderMouse(h, QEvent::MouseMove, QPoint(59, 10), Qt::LeftButton);
  HeaderMouse(h, QEvent::MouseMove, QPoint(69, 10), Qt::LeftButton);
  HeaderMouse(h, QEvent::MouseButtonRelease, QPoint(69, 10), Qt::NoButton);
  ASSERT_EQ(track.size(), 4u);
  EXPECT_EQ(track[0], std::make_tuple(0, 45, tsTrackBegin));
  EXPECT_EQ(track[1], std::make_tuple(0, 60, tsTrackMove));
  EXPECT_EQ(track[2], std::make_tuple(0, 70, tsTrackMove));
  EXPECT_EQ(track[3], std::make_tuple(0, 70, tsTrackEnd));
  EXPECT_EQ(box.SectionWidth(0), 70);
  EXPECT_EQ(clicks.size(), 1u);
  box.SetSectionWidth(0, 45);  // code fires no track
  EXPECT_EQ(track.size(), 4u);

  // Hot tracking follows the pointer only when asked for.
  HeaderMouse(h, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
  EXPECT_EQ(box.HotSection(), -1);
  box.SetHeaderHotTrack(true);
  HeaderMouse(h, QEvent::MouseMove, QPoint(60, 10), Qt::NoButton);
  EXPECT_EQ(box.HotSection(), 1);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(h->viewport(), &leave);
  EXPECT_EQ(box.HotSection(), -1);

  // The owner paints every section when it asks to.
  std::vector<std::pair<int, QRect>> drawn;
  box.OnHeaderDrawSection = [&](QHeaderView*, QPainter& p, int s, const QRect& r, bool pressed) {
    EXPECT_FALSE(pressed);
    drawn.emplace_back(s, r);
    p.fillRect(r, Qt::green);
  };
  const QImage shot = h->grab().toImage();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0], std::make_pair(0, QRect(0, 0, 45, h->height())));
  EXPECT_EQ(drawn[1], std::make_pair(1, QRect(45, 0, 80, h->height())));
  EXPECT_EQ(shot.pixelColor(60, 5), QColor(Qt::green));
}

TEST(ListBox, FlatHeaderAndButtonsLookDifferent) {
  CtlListBox box;
  box.resize(200, 120);
  box.AddSection("Degree", 45);
  box.show();
  QHeaderView* h = box.Header();
  const QImage buttons = h->grab().toImage();
  box.SetHeaderFlat(true);
  const QImage flat = h->grab().toImage();
  // Buttons have a light top edge; flat sections a plain face with a separator at the right.
  EXPECT_EQ(buttons.pixelColor(10, 1), ColorToRgb(clBtnHighlight));
  EXPECT_EQ(flat.pixelColor(10, 0), ColorToRgb(clBtnFace));
  EXPECT_EQ(flat.pixelColor(44, h->height() / 2), ColorToRgb(clBtnShadow));
}
