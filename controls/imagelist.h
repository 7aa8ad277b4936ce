// Picture lists of the image data module as the controls see them: items
// found by name or index, each holding one or more images of one size.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

struct CtlImageListItem {
  QString name;
  QSize size;                  // size of one image
  std::vector<QImage> images;  // a bitmap list item holds one image
  QColor transparent = QColor(255, 0, 255);
};

class CtlImageList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void Add(CtlImageListItem item) { items_.push_back(std::move(item)); }
  void Clear() { items_.clear(); }

  // Out-of-range indexes give neutral answers: no item, no picture, size 0.
  const CtlImageListItem* Item(int list_index) const {
    return list_index >= 0 && list_index < Count() ? &items_[static_cast<std::size_t>(list_index)] : nullptr;
  }
  int IndexOf(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
      if (items_[static_cast<std::size_t>(i)].name == name) return i;
    return -1;
  }
  bool HasEntry(int list_index, int image_index) const {
    const CtlImageListItem* it = Item(list_index);
    return it && image_index >= 0 && image_index < static_cast<int>(it->images.size()) &&
           !it->images[static_cast<std::size_t>(image_index)].isNull();
  }
  QImage Picture(int list_index, int image_index) const {
    return HasEntry(list_index, image_index) ? items_[static_cast<std::size_t>(list_index)].images[static_cast<std::size_t>(image_index)]
                                             : QImage();
  }
  QSize ItemSize(int list_index) const {
    const CtlImageListItem* it = Item(list_index);
    return it ? it->size : QSize();
  }
  QColor TransparentColor(int list_index) const {
    const CtlImageListItem* it = Item(list_index);
    return it ? it->transparent : QColor(255, 0, 255);
  }

 private:
  std::vector<CtlImageListItem> items_;
};
