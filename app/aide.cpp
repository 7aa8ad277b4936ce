#include "app/aide.h"

#include <QScreen>
#include <algorithm>

#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

const std::map<int, HelpTopic>& help_topics() {
  static const std::map<int, HelpTopic> topics = {
      {201, {"Creation options: Additive", "<p>Passes added after the generation: a <b>Shore</b> of the given rate "
                                           "and height, <b>Terraces</b> with their number, edge slope and cliffs, an "
                                           "<b>Oriented</b> relief and a <b>Horizontal</b> distortion.</p>"}},
      {202, {"Creation options: Mountain", "<p>Relief, profile, erosion and its starting altitude, smoothing, "
                                           "dispersion, the mesh and the generation key. <b>New Mountain</b> draws a "
                                           "new key; <b>Random</b> draws one at every generation.</p>"}},
      {206, {"Creation options: Trees", "<p>Four tree layers, each with its number of trees, its slopes, its "
                                        "altitudes and a transition zone. Click the levels figure to choose a "
                                        "layer; the boxes switch the layers on and off.</p>"}},
      {207, {"Creation options: profiles", "<p>The weight of each subdivision level: higher bars make that level's "
                                           "details stronger. Levels beyond the mesh degree are not used.</p>"}},
      {252, {"Refine options", "<p>Sets the relief and the profile used when the active mountain is refined. "
                               "<b>Later</b> keeps the values for the next refinement, <b>Now</b> refines at once.</p>"}},
      {253, {"Combine two mountains", "<p>Adds the heights of a second mountain of the same mesh to the active one, "
                                      "or keeps the higher or the lower of the two, optionally inverting the second.</p>"}},
      {302, {"View options: Framing", "<p>Sets where the observer looks from and to: the vertical and horizontal "
                                      "view angles, the distance, the eye height and the zoom, and the sun's "
                                      "elevation and azimuth. Drag near an edge of the preview to turn the view; the "
                                      "small box shows the picture's frame, moved by the arrows. <b>Observer placed</b> "
                                      "uses the observer point of the map editor, whose map shows the sight lines.</p>"}},
      {304, {"View options: Levels", "<p>Sets the altitudes where the sea, grass, rock, sand and snow begin, the "
                                     "overlap of grass and rock, the snow's transition and the colour diversity. "
                                     "The preview shows the mountain in its level colours once a bar is let go.</p>"}},
      {310, {"View options: Colours", "<p>Choose a level in the list, with the arrows or by a click on the palette; "
                                      "set its red, green and blue or its light, or pick it with <b>Palette ...</b>. "
                                      "Contrast and shadow depth shape every ramp; <b>Idle Colours</b> uses the "
                                      "program's own colours.</p>"}},
      {311, {"View options: Trees", "<p>Choose one of the six tree layers (only those of the displayed mountain), "
                                    "its kind, leaf colour and sizes, and the grounds where it must not grow. The "
                                    "preview turns while an arrow is held; <b>Create a new tree</b> grows another one, "
                                    "<b>detailed drawing</b> draws it close up and <b>draw a tree for each layer</b> "
                                    "shows every layer side by side.</p>"}},
      {312, {"View options: Weather", "<p>Sunny (cast shadows), mist or overcast; the mist's density and height; the "
                                      "horizon and how far it is lowered; a light, clouded or imported sky (pictures "
                                      "of the program's <b>ciels</b> folder); the clouds' number, size and height; the "
                                      "sea's choppiness and reflections.</p>"}},
      {306, {"View options: Scale", "<p>Sets the picture size (one of four sizes or specific sizes), the fixed "
                                    "scale shown over the view's thumbnail, the foreground details, distortion, the "
                                    "file kind (BMP or JPEG), and the imported picture colours with their mask.</p>"}},
      {4006, {"Mountain card", "<p>The card shows the mountain's name, comment lines and picture option. Its buttons "
                               "ask the main window to see, regenerate, duplicate, refine or edit the mountain.</p>"}},
      {4007, {"View window", "<p>A view shows the mountain from an observer towards a target. Right-click for its "
                             "commands; a modified view asks to be saved when it closes.</p>"}},
      {4008, {"Map editor", "<p>The editor shows the mountain from straight above: the white cross is the target "
                            "point, the white disc the observer. Moving the mouse over the map shows the position and "
                            "the altitude on the gauge. <b>Zoom</b> doubles the map, <b>Level curves</b> shows the "
                            "heights in grey bands, <b>Autosave</b> keeps the maps beside the document for the next "
                            "opening. Right-click for the editor's commands.</p>"}},
      {4009, {"Altitude gauge", "<p>The altitude under the mouse, from 4000 m at the top to -1000 m at the bottom: "
                                "the red line is the current altitude, the yellow band the way from the last one.</p>"}},
      {4021, {"Shape", "<p>Raises or digs a summit or a crest line. <b>Base</b> and <b>Summit</b> are the widths at the foot and at the top, the red line the section after the tool. <b>Linear</b> or <b>Weighted</b> chooses the slope's profile; with distortion maps <b>Thrust</b> pushes the relief sideways. <b>D=F</b> gives the end the values of the beginning, <b>D&lt;-&gt;F</b> switches between them.</p>"}},
      {4022, {"Plateau", "<p>Flattens the altitudes between <b>start</b> and <b>end</b> inside the circle. The ratio sets how sharp the edges are; <b>Cliff</b> makes vertical edges.</p>"}},
      {4023, {"Valley", "<p>Digs a valley with its river from the clicked spring down to the sea. <b>Valley</b> is its width, <b>River</b> the river's width; <b>River only</b> draws the river in the existing relief.</p>"}},
      {4024, {"Elevation", "<p>Raises or lowers the whole mountain: move the highest point to its new altitude. <b>Uniforme</b> adds the same height everywhere, <b>Stretching</b> in proportion to the height.</p>"}},
      {4025, {"Smoothing", "<p>Smooths the relief inside the circle between the <b>mini</b> and <b>maxi</b> altitudes. A negative ratio makes it rougher, a positive one smoother.</p>"}},
      {4028, {"Cone", "<p>Builds a cone on the clicked summit or along the drawn crest line. <b>Angle</b> is the slope of its sides.</p>"}},
      {4029, {"Pass", "<p>Raises or digs the middle of the drawn line to the chosen altitude, like a pass between two summits.</p>"}},
      {4030, {"Road", "<p>Draws a road along the line. <b>Width</b> is the road's width, <b>Earth.</b> the earthworks; <b>Path</b> draws a path without earthworks.</p>"}},
      {4031, {"Erosion", "<p>Lets water stream from the area and dig valleys. <b>Area</b> is the size of the area, <b>Width</b> and <b>Depth</b> those of the valleys, the ratio their density.</p>"}},
      {4032, {"Copy", "<p>Copies the relief inside the circle above the <b>start</b> altitude, to paste it elsewhere with <b>Paste</b>.</p>"}},
      {4033, {"Paste", "<p>Adds the copied relief around the clicked point. Move the highest point to scale the pasted relief.</p>"}},
      {4042, {"Stratum", "<p>Bends the strata of a mountain with distortion maps between the <b>bottom</b> and <b>top</b> altitudes; <b>Depth</b> sets how far.</p>"}},
      {4043, {"Relief", "<p>Grows new relief between the <b>mini</b> and <b>maxi</b> altitudes. <b>Totality</b> reshapes all of it, <b>Emergent</b> only the part that rises.</p>"}},
      {4017, {"Video window", "<p>A video window shows its movie: play, pause, stop, go to the last or the first "
                              "frame, or step one frame forward or back. <b>Play</b> opens the movie in the desktop's "
                              "movie player. Right-click to make the movie again, duplicate the video, change its "
                              "settings or read the movie file's information.</p>"}},
      {4016, {"Import", "<p>Turns an elevation file (TXT, DEM, MNT) or a bitmap into a new mountain. Frame the source, "
                        "then press <b>Import</b>; the new mountain appears in a free slot.</p>"}},
      {4040, {"Starting help", "<p>Create a mountain with <b>Create a new Mountain</b> (F5), look at it with "
                               "<b>see</b> (F6) and change its look with <b>View options</b> (F8). Save with F3.</p>"}},
      {4100, {"View gallery", "<p>Shows the pictures of the chosen view files; double-click a picture to open its "
                              "view.</p>"}},
      {5001, {"Open", "<p>Opens a mountain (*.mat), a view (*.vue) or a video (*.vid) document. A view opens with its "
                      "mountain; a video with its view and mountain.</p>"}},
      {5002, {"Save", "<p>Saves the active document under its name, or asks for one when it has none.</p>"}},
      {5003, {"Create a new mountain", "<p>Generates a new mountain from the current creation options in a free slot "
                                       "(five at most).</p>"}},
      {5004, {"Creation options", "<p>Mesh, relief, profile, erosion, shore, trees and the other parameters used to "
                                  "generate mountains.</p>"}},
      {5005, {"Edit the active mountain", "<p>Opens the map editor of the active mountain: raise, dig, smooth, draw "
                                          "rivers, plant trees and paint the ground.</p>"}},
      {5006, {"See", "<p>Makes a new view of the active mountain with the current view options.</p>"}},
      {5007, {"Refresh the active view", "<p>Renders the active view again with its own options.</p>"}},
      {5008, {"View options", "<p>Observer and target, scale, trees, levels and colours, sky, sun and mist of the "
                              "views.</p>"}},
      {5009, {"Exit", "<p>Ends the program. Modified documents are offered for saving first and the options file "
                      "keeps the starting file and the recent files.</p>"}},
      {5010, {"Statistics", "<p>Altitudes, slopes, trees and rivers of the last rendering of a view.</p>"}},
      {5011, {"Explorer", "<p>Shows or hides the tree of open documents: mountains, their views and their videos. "
                          "Click a node to bring its window forward.</p>"}},
      {5012, {"Adjustments of video", "<p>Frame count, frame size, codec and camera path of the videos.</p>"}},
      {5013, {"Create video", "<p>Makes a movie along the camera path of the active view.</p>"}},
  };
  return topics;
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Quorvel Help");
  resize(520, 420);
  stack_ = new QStackedWidget(this);
  browser_ = new QTextBrowser;
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    bool ok = false;
    int n = url.toString().toInt(&ok);
    if (ok) ShowTopic(n);
  });
  auto* finder = new QWidget;
  filter_ = new QLineEdit;
  filter_->setPlaceholderText("Type the first letters of a topic");
  list_ = new QListWidget;
  auto* fl = new QVBoxLayout(finder);
  fl->addWidget(filter_);
  fl->addWidget(list_);
  connect(filter_, &QLineEdit::textChanged, this, &HelpViewer::SetFilter);
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* it) { ShowTopic(it->data(Qt::UserRole).toInt()); });
  stack_->addWidget(browser_);
  stack_->addWidget(finder);
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(stack_);
  for (const auto& [n, t] : help_topics()) {
    auto* it = new QListWidgetItem(QString::fromUtf8(t.title), list_);
    it->setData(Qt::UserRole, n);
  }
  list_->sortItems();
}

void HelpViewer::PlaceOver(QWidget* owner) {
  place_over_ = owner;
  placing_ = true;
  QScreen* ecran = owner && owner->screen() ? owner->screen() : screen();
  const QRect zone = ecran ? ecran->availableGeometry() : QRect(0, 0, 800, 600);
  // The frame the window manager adds counts: the whole window stays inside.
  const QSize cadre = frameGeometry().size() - geometry().size();
  const QSize taille = size().boundedTo(zone.size() - cadre);
  resize(taille);
  const QRect sur = owner ? owner->window()->frameGeometry() : zone;
  const QSize tout = taille + cadre;
  QPoint p = sur.center() - QPoint(tout.width() / 2, tout.height() / 2);
  p.setX(std::clamp(p.x(), zone.left(), zone.right() + 1 - tout.width()));
  p.setY(std::clamp(p.y(), zone.top(), zone.bottom() + 1 - tout.height()));
  move(p);
}

void HelpViewer::ShowPage(const QString& html, int topic) {
  current_ = topic;
  browser_->setHtml(html);
  stack_->setCurrentWidget(browser_);
  Present();
}

void HelpViewer::Present() {
  show();
  if (placing_) {
    PlaceOver(place_over_);
    placing_ = false;
  }
  raise();
  activateWindow();
}

void HelpViewer::ShowTopic(int context) {
  auto it = help_topics().find(context);
  if (it == help_topics().end()) {
    ShowContents();
    browser_->setHtml(QString("<p>There is no help topic number %1.</p>").arg(context) + browser_->toHtml());
    return;
  }
  ShowPage(QString("<h3>%1</h3>%2").arg(QString::fromUtf8(it->second.title), QString::fromUtf8(it->second.text)),
           context);
}

void HelpViewer::ShowContents() {
  QString html = "<h3>Contents</h3><ul>";
  for (const auto& [n, t] : help_topics())
    html += QString("<li><a href=\"%1\">%2</a></li>").arg(n).arg(QString::fromUtf8(t.title));
  html += "</ul>";
  ShowPage(html, 0);
}

void HelpViewer::ShowFinder() {
  current_ = 0;
  filter_->clear();
  stack_->setCurrentIndex(1);
  Present();
}

void HelpViewer::SetFilter(const QString& text) {
  for (int i = 0; i < list_->count(); ++i)
    list_->item(i)->setHidden(!list_->item(i)->text().contains(text, Qt::CaseInsensitive));
}

QStringList HelpViewer::FinderTitles() const {
  QStringList out;
  for (int i = 0; i < list_->count(); ++i)
    if (!list_->item(i)->isHidden()) out << list_->item(i)->text();
  return out;
}

QString HelpViewer::Text() const { return browser_->toPlainText(); }

void HelpViewer::Quit() { close(); }
