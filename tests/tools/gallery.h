// What the picture files of controls_gallery share.
#pragma once

#include <QImage>
#include <QLabel>
#include <QString>

// An 11-pixel caption at (x, y) of `parent`.
QLabel* Caption(QWidget* parent, int x, int y, const QString& text);
// Writes the picture as PNG through the safe write; false (with a message) when it fails.
bool SavePicture(const QImage& img, const QString& path);
