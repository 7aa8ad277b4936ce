// Review picture of the list box for controls_gallery: lists.png shows the
// list box with its header and vertical grid lines (the creation dialog's
// mesh list), one with both grid lines, and a list without header.

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

}  // namespace

QImage ListsPicture() {
  QWidget w;
  w.resize(620, 200);
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
  w.show();
  return w.grab().toImage();
}
