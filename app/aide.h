// The program's own help viewer: short topics keyed by context number, a
// contents page and a finder over the topic titles.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QStackedWidget;

struct HelpTopic {
  const char* title;
  const char* text;  // HTML
};

// Every topic of the help file, by context number.
const std::map<int, HelpTopic>& help_topics();

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  void ShowTopic(int context);
  void ShowContents();
  void ShowFinder();
  void Quit();  // the help system is told to quit: the viewer closes
  // Moves the viewer over the window that asked for it (centred on it), kept
  // wholly inside that screen's available area; its size shrinks to fit. The
  // frame the window system adds is known once shown: the next page shown
  // places the viewer again with it.
  void PlaceOver(QWidget* owner);

  int CurrentTopic() const { return current_; }  // 0 on the contents or finder page
  QString Text() const;  // plain text of the page shown
  QStringList FinderTitles() const;  // titles the finder lists, after its filter
  void SetFilter(const QString& text);

 private:
  void Present();  // shows, places when asked, raises and activates
  void ShowPage(const QString& html, int topic);
  QStackedWidget* stack_;
  QTextBrowser* browser_;
  QLineEdit* filter_;
  QListWidget* list_;
  int current_ = 0;
  QPointer<QWidget> place_over_;  // owner to place over when the next page is shown
  bool placing_ = false;
};
