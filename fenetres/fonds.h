// The program's backgrounds: a picture of the image data module's BitmapList
// behind a panel or tiled over a fill control, and the panels' raised frame.
#pragma once

#include "controls/properties.h"
#include "fenetres/donnees_images.h"

// Item `index` of BitmapList as the picture of `controle` (a back panel tiles
// it by itself); without the data module the control shows none.
template <class Controle>
void montrer_bitmap(Controle& controle, int index) {
  controle.SetListIndex(index);
  if (const TData* data = TData::Instance()) controle.SetImageList(&data->BitmapList);
}

// The raised outer frame, two pixels wide, of the program's panels, set with
// one change notice.
inline void cadre_releve(CtlBevel& bevel) {
  bevel.BeginUpdate();
  bevel.SetStyleOuter(bvRaised);
  bevel.SetWidthOuter(2);
  bevel.SetWidthInner(0);
  bevel.EndUpdate(true);
}

// Tiles item `index` of BitmapList (images::kBackground, kCardTile, ...) over
// the face of `fond`; without the data module the face keeps its colour.
template <class Fond>
void fond_carrele(Fond& fond, int index) {
  fond.FillObject().SetStyle(sfBitmapList);
  fond.FillObject().SetTileMode(tmTile);
  montrer_bitmap(fond, index);
}
