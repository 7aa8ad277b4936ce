// The print-preview component: records a document as pages drawn in a chosen
// unit of measure, shows the current page as a sheet of paper with a border
// and a drop shadow at a chosen zoom inside a scroll area, pages and scrolls
// with the keyboard or by dragging the sheet, and prints the pages on a
// QPrinter (a real printer or a PDF file) with a progress event and abort.
//
// Pages are QPictures recorded in screen pixels of the page's size, with the
// painter's window set to the paper size in `Units`; the page list keeps them
// one after the other in a memory buffer or a temporary file.
#pragma once

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QScrollArea>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QMenu;
class QPrinter;
class QTemporaryFile;

namespace components {

// Units of measure of the page canvas.
enum TUnits : std::uint8_t { mmPixel, mmLoMetric, mmHiMetric, mmLoEnglish, mmHiEnglish, mmTWIPS };
// How the sheet is sized to the visible area.
enum TZoomState : std::uint8_t { zsZoomOther, zsZoomToWidth, zsZoomToHeight, zsZoomToFit };
enum TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };
enum TPreviewState : std::uint8_t { psReady, psCreating, psPrinting };

// Paper types: one row of kPapiers each, in that order, then pCustom.
enum TPaperType : std::uint8_t {
  pLetter, pLetterSmall, pTabloid, pLedger, pLegal, pStatement, pExecutive, pA3, pA4, pA4Small, pA5, pB4,
  pB5, pFolio, pQuatro, p10x14, p11x17, pNote, pEnv9, pEnv10, pEnv11, pEnv12, pEnv14, pCSheet, pDSheet,
  pESheet, pEnvDL, pEnvC5, pEnvC3, pEnvC4, pEnvC6, pEnvC65, pEnvB4, pEnvB5, pEnvB6, pEnvItaly,
  pEnvMonarch, pEnvPersonal, pFanfoldUSStd, pFanfoldGermanStd, pFanfoldGermanLegal, pB4ISO,
  pJapanesePostcard, p9x11, p10x11, p15x11, pEnvInvite, pLetterExtra, pLegalExtra, TabloidExtra,
  pA4Extra, pLetterTransverse, pA4Transverse, pLetterExtraTransverse, pAPlus, pBPlus, pLetterPlus,
  pA4Plus, pA5Transverse, pB5Transverse, pA3Extra, pA5Extra, pB5Extra, pA2, pA3Transverse,
  pA3ExtraTransverse, pCustom
};

// A standard paper: the printer's paper code and the portrait size in 0.1 mm.
struct LignePapier {
  int code;
  int largeur;
  int hauteur;
};
inline constexpr int kNombrePapiers = 66;  // rows; pCustom (code 255) has none
extern const LignePapier kPapiers[kNombrePapiers];
inline constexpr int kCodePapierLibre = 255;

// `value` from one unit to another, screen pixels at `dpi` per inch. The six
// conversions between metric or English units that are whole multiples or
// fractions are exact integer operations (division truncating); the others
// go through MulDiv. Equal or unknown units give the value unchanged.
int ConvertUnitsDPI(int value, int dpi, TUnits from, TUnits to);

// "Not enough memory to create a new page".
class PreviewError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// Thrown by the progress step to end a print run; never leaves PrintPages.
class EAbortPrint : public std::exception {};

// The look of the sheet. Every setter stores and calls OnChange only when the
// value differs.
class TPaperPreviewOptions {
 public:
  QColor PaperColor() const { return paper_; }
  QColor BorderColor() const { return bordure_; }
  int BorderWidth() const { return largeur_bordure_; }
  QColor ShadowColor() const { return ombre_; }
  int ShadowWidth() const { return largeur_ombre_; }
  Qt::CursorShape Cursor() const { return curseur_; }
  Qt::CursorShape DragCursor() const { return curseur_glisse_; }
  QMenu* PopupMenu() const { return menu_; }

  void SetPaperColor(QColor c);
  void SetBorderColor(QColor c);
  void SetBorderWidth(int w);
  void SetShadowColor(QColor c);
  void SetShadowWidth(int w);
  void SetCursor(Qt::CursorShape c);
  void SetDragCursor(Qt::CursorShape c);
  void SetPopupMenu(QMenu* m);
  // Copies all eight through the setters.
  void Assign(const TPaperPreviewOptions& o);

  std::function<void()> OnChange;

 private:
  template <class T>
  void changer(T& champ, T valeur);

  QColor paper_ = Qt::white;
  QColor bordure_ = Qt::black;
  int largeur_bordure_ = 1;
  QColor ombre_ = QColor(128, 128, 128);  // the classic button shadow
  int largeur_ombre_ = 3;
  Qt::CursorShape curseur_ = Qt::ArrowCursor;
  Qt::CursorShape curseur_glisse_ = Qt::OpenHandCursor;
  QMenu* menu_ = nullptr;
};

// The sheet: a frame, a drop shadow and the paper, drawn with the page into an
// off-screen picture whenever something changes (Prepare); the paint only
// copies that picture.
class TPaperPreview : public QWidget {
 public:
  explicit TPaperPreview(QWidget* parent = nullptr);

  QColor PaperColor = Qt::white;
  QColor BorderColor = Qt::black;
  int BorderSize = 1;
  QColor ShadowColor = QColor(128, 128, 128);
  int ShadowSize = 3;

  // The paper's size: the widget's less 2 x BorderSize + ShadowSize.
  int PaperWidth() const;
  int PaperHeight() const;
  void SetPaperWidth(int w);
  void SetPaperHeight(int h);
  // (BorderSize, BorderSize) to (width - BorderSize - ShadowSize, height - BorderSize - ShadowSize).
  QRect PageRect() const;
  // The outer size of a paper side.
  int Outer(int paper) const { return paper + 2 * BorderSize + ShadowSize; }

  // Draws the sheet into the off-screen picture, then asks for a paint.
  void Prepare();
  const QPixmap& Picture() const { return picture_; }

  std::function<void()> OnResize;
  // Draws the page; the painter is clipped to the page rectangle.
  std::function<void(QPainter&, const QRect&)> OnPaint;
  // Mouse events, in the sheet's coordinates.
  std::function<void(QMouseEvent*)> OnMousePress, OnMouseMove, OnMouseRelease, OnDoubleClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  QPixmap picture_;
};

// The recorded pages: each QPicture saved, with its length in front, at a
// recorded offset of one data stream (a memory buffer, or with UseTempFile a
// file "TMP......" in the temporary folder).
class TMetaFileList {
 public:
  TMetaFileList() = default;
  ~TMetaFileList();
  TMetaFileList(const TMetaFileList&) = delete;
  TMetaFileList& operator=(const TMetaFileList&) = delete;

  // Appends a page; returns its 0-based index. Throws PreviewError when the
  // stream cannot take it.
  int Add(const QPicture& page);
  // The page at a 0-based index; an empty picture out of range or when the
  // stored page cannot be read back.
  const QPicture& GetMetaFile(int index);
  int Count() const { return static_cast<int>(positions_.size()); }
  void Clear();

  bool UseTempFile() const { return fichier_temporaire_; }
  // Moves the stored pages into a stream of the other kind.
  void SetUseTempFile(bool v);
  QString TempFileName() const { return nom_temporaire_; }

  std::function<void()> OnChange;

 private:
  std::unique_ptr<QIODevice> nouveau_flux(bool temporaire);
  void liberer_flux();

  std::vector<std::int64_t> positions_;
  std::unique_ptr<QIODevice> flux_;
  QPicture cache_;
  bool fichier_temporaire_ = false;
  QString nom_temporaire_;
};

class TPrintPreview : public QScrollArea {
 public:
  explicit TPrintPreview(QWidget* parent = nullptr);
  ~TPrintPreview() override;

  // --- units and conversions ---
  int ConvertUnits(int value, TUnits from, TUnits to) const;
  // A length in screen pixels in Units, through mmHiEnglish.
  int ScreenToUnits(int pixels) const;
  int ScreenPixelsPerInch() const { return ppp_; }
  // The screen resolution the conversions use (the screen's by default).
  void SetScreenPixelsPerInch(int ppp);

  // --- paper ---
  TUnits Units() const { return units_; }
  void SetUnits(TUnits u);
  TPaperType PaperType() const { return type_; }
  void SetPaperType(TPaperType t);
  int PaperWidth() const { return largeur_; }
  int PaperHeight() const { return hauteur_; }
  void SetPaperWidth(int v);
  void SetPaperHeight(int v);
  TPrinterOrientation Orientation() const { return orientation_; }
  void SetOrientation(TPrinterOrientation o);
  int PagePixelWidth() const { return largeur_pixels_; }
  int PagePixelHeight() const { return hauteur_pixels_; }

  // --- zoom and layout ---
  int Zoom() const { return zoom_; }
  void SetZoom(int z);
  TZoomState ZoomState() const { return etat_zoom_; }
  void SetZoomState(TZoomState z);
  bool ZoomSavePos = true;
  bool CanScrollHorz() const { return defile_h_; }
  bool CanScrollVert() const { return defile_v_; }
  // Sizes the sheet for the area and places it (done on every change).
  void UpdateZoom();
  // The sheet's outer size for an available width and height.
  QSize CalcPaperSize(int w, int h) const;
  // Blank pixels around the sheet, each side.
  static constexpr int kMarge = 10;

  TPaperPreviewOptions& PaperView() { return options_; }
  void SetPaperView(const TPaperPreviewOptions& o) { options_.Assign(o); }
  TPaperPreview& Sheet() { return *feuille_; }

  // --- recording ---
  QFont Font;  // copied onto each new page
  void BeginDoc();
  void NewPage();
  void EndDoc();
  // The page being recorded while creating, the printer's painter while
  // printing, else null.
  QPainter* GetCanvas();
  TPreviewState State() const { return etat_; }

  // --- pages ---
  int TotalPages() const { return pages_.Count(); }
  int CurrentPage() const { return page_courante_; }
  void SetCurrentPage(int p);
  bool UseTempFile() const { return pages_.UseTempFile(); }
  void SetUseTempFile(bool v) { pages_.SetUseTempFile(v); }
  TMetaFileList& Pages() { return pages_; }

  // --- printing ---
  // The printer the pages go to (not owned; none: nothing prints).
  void SetPrinter(QPrinter* p) { imprimante_ = p; }
  QPrinter* Printer() const { return imprimante_; }
  QString PrintJobTitle;
  bool FastPrint = true;
  bool Aborted() const { return interrompu_; }
  void Print() { PrintPages(1, TotalPages()); }
  void PrintPages(int from, int to);
  // Page size and orientation of the printer from the paper settings.
  virtual void SetPrinterOptions();

  std::function<void()> OnBeginDoc, OnEndDoc, OnNewPage, OnAbort, OnChange, OnBeforePrint, OnAfterPrint;
  // (page, progress in percent, AbortIt)
  std::function<void(int, int, bool&)> OnPrintProgress;
  // Shows an error that ended a print run (a message box unless replaced).
  std::function<void(const QString&)> OnPrintError;

 protected:
  void DoProgress(int page, int done, int total);
  void PaintPage(QPainter& p, const QRect& r);
  void CreateMetafileCanvas();
  void DestroyMetafileCanvas();
  void SetCanvasMapping();

  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  // A paper side set by hand: held to 1..32767; the paper type becomes custom.
  void cote_papier(int& cote, int v);
  void calculer_pixels();
  void taille_standard();
  void pages_changees();
  void appliquer_options();
  void souris_pressee(QMouseEvent* e);
  void souris_bougee(QMouseEvent* e);
  void imprimer_page(QPainter& p, int page, const QRect& cible);
  void imprimer_pages(QPainter& p, int from, int to);
  QString pdf_provisoire(const QString& cible);
  void terminer_pdf(const QString& provisoire, const QString& cible);
  void signaler(const QString& message);

  TPaperPreview* feuille_ = nullptr;  // owned through the content widget
  QWidget* fond_ = nullptr;           // the scrolled content, holds the sheet
  TPaperPreviewOptions options_;
  TMetaFileList pages_;
  std::unique_ptr<QPicture> page_;    // the page being recorded
  std::unique_ptr<QPainter> canevas_;
  QPainter* canevas_impression_ = nullptr;
  QPrinter* imprimante_ = nullptr;

  int ppp_ = 96;
  TUnits units_ = mmHiMetric;
  TPaperType type_ = pA4;
  TPrinterOrientation orientation_ = poPortrait;
  int largeur_ = 21000, hauteur_ = 29700;
  int largeur_pixels_ = 1, hauteur_pixels_ = 1;
  int page_courante_ = 0;
  TPreviewState etat_ = psReady;
  int zoom_ = 100;
  TZoomState etat_zoom_ = zsZoomToFit;
  bool interrompu_ = false;
  bool defile_h_ = false, defile_v_ = false;
  QPoint appui_;
};

}  // namespace components
