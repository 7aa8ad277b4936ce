// Review picture of the list box for controls_gallery: lists.png shows the
// list box with its header and vertical grid lines (the creation dialog's
// mesh list), one with both grid lines, and a list without header; below, a
// sorted list with several items selected under a flat, bold, hot-tracked
// header, a button header with its second section hot, and an owner-drawn
// header over items of measured heights.

#include <QCoreApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include "gallery.h"
#include "controls/listbox.h"

namespace {


QStringList MeshItems() {
  QStringList items;
  for (int n = 4; n <= 11; ++n) {
    const long long cells = (1LL << n) * (1LL << n);
    QString count = QString::number(cells);
    for (int i = count.size() - 3; i > 0; i -= 3) count.insert(i, u' ');
    items << QString("%1:%2 mesh").arg(n).arg(count, 9);
  }
  return items;
}

CtlListBox* MeshList(QWidget* parent, int x, int y, CtlLBGridLines grid) {
  auto* box = new CtlListBox(parent);
  box->setGeometry(x, y, 190, 150);
  box->SetDelimiter(u':');
  box->AddSection("Degree", 45);
  box->AddSection("Nr polygons", 110);
  box->SetGridLines(grid);
  box->SetItems(MeshItems());
  box->SetItemIndex(3);
  return box;
}

// Moves the pointer over a section of the header, as a hot-tracking user does.
void HoverSection(CtlListBox* box, int x) {
  QHeaderView* h = box->Header();
  const QPoint at(x, h->height() / 2);
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(h->viewport()->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(h->viewport(), &move);
}

void SecondRow(QWidget* w) {
  Caption(w, 10, 190, "Sorted, multi, flat bold header");
  auto* sorted = MeshList(w, 10, 206, glVertical);
  sorted->SetHeaderFlat(true);
  sorted->SetHeaderHotTrack(true);
  QFont bold = sorted->HeaderFont();
  bold.setBold(true);
  sorted->SetHeaderFont(bold);
  sorted->SetMultiSelect(true);
  sorted->SetSorted(true);
  for (int row : {1, 2, 5}) sorted->SetSelected(row, true);
  HoverSection(sorted, 10);

  Caption(w, 210, 190, "Button header, hot section");
  auto* hot = MeshList(w, 210, 206, glBoth);
  hot->SetHeaderHotTrack(true);
  HoverSection(hot, 80);

  Caption(w, 410, 190, "Owner-drawn header, sized items");
  auto* drawn = new CtlListBox(w);
  drawn->setGeometry(410, 206, 180, 150);
  drawn->SetDelimiter(u';');
  drawn->AddSection("Layer", 60);
  drawn->AddSection("Ground", 110);
  drawn->SetGridLines(glHorizontal);
  drawn->OnHeaderDrawSection = [](QHeaderView* h, QPainter& p, int section, const QRect& r, bool) {
    p.fillRect(r, section == 0 ? QColor(0, 64, 128) : QColor(0, 96, 64));
    p.setPen(Qt::white);
    p.setFont(h->font());
    p.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
               h->model()->headerData(section, Qt::Horizontal).toString());
  };
  drawn->OnMeasureItem = [](QListWidget*, int index, int& height) { height += index % 2 ? 10 : 0; };
  drawn->SetStyle(lbOwnerDrawVariable);
  drawn->SetItems({"1;Sea", "2;Beach", "3;Plain", "4;High ground", "5;Rock", "6;Snow"});
  drawn->SetItemIndex(2);
}

}  // namespace

QImage ListsPicture() {
  QWidget w;
  w.resize(620, 380);
  w.setAutoFillBackground(true);
  Caption(&w, 10, 10, "Header, vertical grid lines");
  MeshList(&w, 10, 26, glVertical);
  Caption(&w, 210, 10, "Both grid lines, disabled");
  MeshList(&w, 210, 26, glBoth)->setEnabled(false);
  Caption(&w, 410, 10, "No header, delimiter \" \"");
  auto* layers = new CtlListBox(&w);
  layers->setGeometry(410, 26, 180, 150);
  layers->SetDelimiter(u' ');
  layers->SetHeaderVisible(false);
  layers->SetItems({"Lev 1 > Sea", "Lev 2 > Beach", "Lev 3 > Plain", "Lev 4 > High ground", "Lev 5 > Rock",
                    "Lev 6 > Snow"});
  layers->SetItemIndex(3);
  SecondRow(&w);
  w.show();
  return w.grab().toImage();
}
