// controls_gallery FOLDER: review pictures of the control library's drawing.
// drawing.png shows the fifteen border styles, the bevel styles at widths 1
// to 3, the button faces of every style in the states up, hot, held, latched
// and disabled, the arrows, the eight gradient styles and the effect-text styles.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "controls/paintkit.h"
#include "controls/properties.h"
#include "platform/fichiers.h"

namespace {

const char* const kBorderNames[] = {"None",        "Single",      "Lowered",       "Raised",       "Raisedspb",
                                    "Loweredspb",  "RaisedExt",   "LoweredExt",    "FrameInset",   "FrameOffset",
                                    "WindowBorder", "SingleRaised", "SingleLowered", "DoubleRaised", "DoubleLowered"};
const char* const kBevelNames[] = {"None", "Lowered", "Raised", "FrameLowered", "FrameRaised", "Normal", "Shadow"};
const char* const kFaceNames[] = {"AutoDetect", "Win31",   "Win40",    "Tarnel",           "TarnelFlat", "Flat",
                                  "FlatUnColored", "Navigator", "Explorer", "ExplorerColored", "Integrated"};
const char* const kStateNames[] = {"up", "hot", "held", "latched", "disabled"};
const char* const kGradientNames[] = {"Horizontal", "Vertical", "Square", "Elliptic",
                                      "TopLeft",    "TopRight", "BottomLeft", "BottomRight"};
const char* const kTextNames[] = {"None", "Sunken", "Raised", "SunkenShadow", "RaisedShadow", "PColorSunken",
                                  "PColorRaised", "Shadow"};

void Label(QPainter& p, int x, int y, const QString& text) {
  p.setPen(Qt::black);
  p.drawText(QRect(x, y, 110, 14), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void Heading(QPainter& p, int y, const QString& text) {
  QFont f = p.font();
  f.setBold(true);
  p.save();
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QPoint(10, y + 12), text);
  p.restore();
}

int Borders(QPainter& p, int y) {
  Heading(p, y, "Border styles");
  y += 18;
  for (int i = 0; i < 15; ++i) {
    const int x = 10 + (i % 8) * 120, row = y + (i / 8) * 56;
    QRect r(x, row, 100, 36);
    DrawEdgeStyle(p, r, static_cast<CtlBorderStyle>(i), 0);
    Label(p, x, row + 38, kBorderNames[i]);
  }
  return y + 2 * 56 + 6;
}

int Bevels(QPainter& p, int y) {
  Heading(p, y, "Bevel styles, widths 1 to 3");
  y += 18;
  for (int s = 0; s < 7; ++s)
    for (int w = 1; w <= 3; ++w) {
      const int x = 10 + s * 136 + (w - 1) * 42;
      QRect r(x, y, 36, 36);
      if (s == bvShadow) DrawShadowBevel(p, r, clBlack, false, 1, w + 1, clBtnFace, clBtnShadow);
      else DrawBevelFrame(p, r, static_cast<CtlBevelStyle>(s), w, clBtnShadow, clBtnHighlight);
      if (w == 1) Label(p, x, y + 38, kBevelNames[s]);
    }
  return y + 60;
}

int Faces(QPainter& p, int y) {
  Heading(p, y, "Button faces: up, hot, held, latched, disabled");
  y += 18;
  const int states[] = {0, 0, 4, 3, 1};
  for (int s = 0; s < 11; ++s) {
    const int x = 10 + (s % 6) * 160, row = y + (s / 6) * 60;
    for (int k = 0; k < 5; ++k) {
      QRect face(x + k * 30, row, 26, 26);
      const QRect inner = DrawButtonFace(p, k == 1, face, clBtnFace, 1, states[k], static_cast<CtlUserButtonStyle>(s));
      DrawArrow(p, inner.left() + (inner.width() - 7) / 2, inner.top() + (inner.height() - 4) / 2, k != 4, true,
                clBlack, 4);
    }
    Label(p, x, row + 28, kFaceNames[s]);
  }
  for (int k = 0; k < 5; ++k) Label(p, 10 + 5 * 160 + 10, y + 60 + k * 10, QString("%1: %2").arg(k + 1).arg(kStateNames[k]));
  return y + 2 * 60 + 14;
}

int Arrows(QPainter& p, int y) {
  Heading(p, y, "Arrows, sizes 2 to 15, down and up, enabled and disabled");
  y += 18;
  int x = 10;
  for (int n = 2; n <= 15; ++n) {
    DrawArrow(p, x, y, true, true, clBlack, n);
    DrawArrow(p, x, y + 18, false, true, clBlack, n);
    DrawArrow(p, x + 4, y + 36, true, false, clNavy, n);
    x += 2 * n + 8;
  }
  return y + 58;
}

int Gradients(QPainter& p, int y) {
  Heading(p, y, "Gradient styles (blue to black, 16 colours)");
  y += 18;
  const std::vector<CtlColor> colours = BuildGradientColors(clBlue, clBlack, 16);
  for (int s = 0; s < 8; ++s) {
    const QRect r(10 + s * 120, y, 100, 60);
    FillGradient(p, r, colours, gfClip, static_cast<CtlGradientStyle>(s));
    Label(p, r.left(), y + 62, kGradientNames[s]);
  }
  return y + 82;
}

int Texts(QPainter& p, int y) {
  Heading(p, y, "Effect text styles, enabled and disabled");
  y += 18;
  QFont f = p.font();
  f.setPixelSize(18);
  f.setBold(true);
  for (int s = 0; s < 8; ++s) {
    Ctl3DCaption fx;
    fx.SetStyle(static_cast<CtlThreeDStyle>(s));
    fx.SetShadowDepth(2);
    const QRect r(10 + s * 120, y, 110, 26);
    p.save();
    p.setFont(f);
    DrawFxText(p, "Quorvel", &fx, nullptr, fxEnabled, Qt::AlignLeft | Qt::AlignTop, r, Qt::black, QColor(0, 0, 160));
    DrawFxText(p, "Quorvel", &fx, nullptr, fxAuto3d, Qt::AlignLeft | Qt::AlignTop, r.translated(0, 28), Qt::black);
    p.restore();
    Label(p, r.left(), y + 56, kTextNames[s]);
  }
  CtlFxCaption turned;
  p.save();
  p.setFont(f);
  DrawFxText(p, "Turned", &turned, nullptr, fxEnabled, 0, QRect(10 + 8 * 120, y + 60, 60, 60), Qt::darkRed,
             Qt::white, 45);
  p.restore();
  return y + 80;
}

}  // namespace

bool WriteButtonPictures(const QString& folder);  // gallery_buttons.cpp

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: controls_gallery FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  QImage img(1080, 660, QImage::Format_RGB32);
  img.fill(ColorToRgb(clBtnFace));
  {
    QPainter p(&img);
    CtlPreparePainter(p);
    QFont f = p.font();
    f.setPixelSize(11);
    p.setFont(f);
    int y = 6;
    y = Borders(p, y);
    y = Bevels(p, y);
    y = Faces(p, y);
    y = Arrows(p, y);
    y = Gradients(p, y);
    Texts(p, y);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG");
  const QString out = folder + "/drawing.png";
  const Echec e = ecrire_fichier(out.toLocal8Bit().toStdString(), std::string_view(png.constData(), png.size()));
  if (!e.empty()) {
    std::fprintf(stderr, "cannot write %s: %s\n", out.toLocal8Bit().constData(), e.c_str());
    return 1;
  }
  return WriteButtonPictures(folder) ? 0 : 1;
}
