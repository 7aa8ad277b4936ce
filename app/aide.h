// The program's own help viewer: topics keyed by context number, a contents
// page, and the finder (every topic by title, with a search field). A row of
// buttons above the page leads to the contents and the finder and goes back
// to the page shown before.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QStackedWidget;

struct HelpTopic {
  const char* title;
  const char* text;  // HTML; links to other topics are written <a href="number">
};

// Every topic of the help file, by context number.
const std::map<int, HelpTopic>& help_topics();

// The heading of the contents page under which a topic is listed.
const char* help_group(int context);

// Context numbers of the topics whose title or text holds `text` (case
// ignored), those found in the title first, each list by title. An empty
// text finds every topic.
std::vector<int> find_help_topics(const QString& text);

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);

  void ShowTopic(int context);
  void ShowContents();
  void ShowFinder();
  // Shows the page shown before the current one; nothing when there is none.
  void Back();
  bool CanGoBack() const { return !history_.empty(); }
  void Quit();  // the help system is told to quit: the viewer closes
  // Moves the viewer over the window that asked for it (centred on it), kept
  // wholly inside that screen's available area; its size shrinks to fit. The
  // frame the window system adds is known once shown: the next page shown
  // places the viewer again with it.
  void PlaceOver(QWidget* owner);

  int CurrentTopic() const { return page_ > 0 ? page_ : 0; }  // 0 on the contents or finder page
  bool OnFinder() const { return page_ == kFinder; }
  bool OnContents() const { return page_ == kContents; }
  QString Text() const;  // plain text of the page shown
  QStringList FinderTitles() const;  // titles the finder lists, after its search text
  void SetFilter(const QString& text);
  // The finder's Display button, or Enter in its field: the selected topic,
  // else the first one listed. Nothing when the list is empty.
  void DisplayFound();

  QPushButton* ContentsButton() const { return contents_btn_; }
  QPushButton* IndexButton() const { return index_btn_; }
  QPushButton* BackButton() const { return back_btn_; }
  QLineEdit* SearchField() const { return filter_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  static constexpr int kContents = 0;
  static constexpr int kFinder = -1;
  static constexpr int kNone = -2;
  void Go(int page);  // shows a page; the page left goes on the history
  void Show(int page);  // shows a page, history untouched
  void ShowUnknown(int context);
  void Present();  // shows, places when asked, raises and activates
  void ShowHtml(const QString& html, int page);
  void Refresh();  // buttons follow the page and the history
  QStackedWidget* stack_;
  QTextBrowser* browser_;
  QLineEdit* filter_;
  QListWidget* list_;
  QPushButton* contents_btn_;
  QPushButton* index_btn_;
  QPushButton* back_btn_;
  QPushButton* display_btn_;
  int page_ = kNone;
  std::vector<int> history_;
  QPointer<QWidget> place_over_;  // owner to place over when the next page is shown
  bool placing_ = false;
};
