// The texts of the help topics, by context number. The windows and commands
// ask for these numbers; the viewer lists the topics by title. Each topic
// tells a new user what the window or command does and how to use it; links
// to other topics are written <a href="number">.
#include "app/aide.h"

const std::map<int, HelpTopic>& help_topics() {
  static const std::map<int, HelpTopic> topics = {
      // ------------------------------------------------------------ getting started
      {4040, {"Starting help", R"(
<p>Quorvel makes imaginary landscapes. You create a <b>mountain</b> (a terrain of heights), look at it in
<b>views</b> (pictures of it seen from an observer), reshape it in the <b>map editor</b> and film it in
<b>videos</b>. Up to five mountains, ten views and ten videos can be open at once.</p>
<ol>
<li>Press <b>F5</b> (<b>Create a new Mountain</b>, the New button): a mountain is generated and its card
appears. Press <b>F7</b> first if you want to choose its relief, mesh or trees (<a href="5004">Creation
options</a>).</li>
<li>Press <b>F6</b> (<b>see</b>): a view window draws the mountain with the current view options.</li>
<li>Press <b>F8</b> (<b>View options</b>) to move the observer, change the sun, the colours, the sky and
the weather; choose <b>Redraw</b> and OK to see the change.</li>
<li>Press <b>F4</b> to open the <a href="4008">map editor</a> and raise summits, dig valleys, plant trees
or paint the ground.</li>
<li>Press <b>F3</b> to save. A view saved with its mountain makes a <i>.vue</i> document with its picture
beside it.</li>
</ol>
<p>Every window answers <b>F1</b> with its own topic. <b>Help &gt; Index</b> lists every topic and finds them
by a word; <b>Contextual Help</b> (the Help button) lets you click a command or window to read about it
instead of using it (<a href="5014">Using help</a>).</p>)"}},

      // ------------------------------------------------------------ commands
      {5001, {"Open", R"(
<p><b>Open ...</b> (F2, the Open button) opens a document: a mountain (<i>*.mat</i>), a view (<i>*.vue</i>)
or a video (<i>*.vid</i>). A view document opens its mountain and a view window showing the picture saved
beside it, without drawing it again; a video document opens its mountain, its view and the video window
with its camera path and movie.</p>
<p>The last ten documents you opened or saved are listed at the bottom of the <b>File</b> menu: click one to
open it again (a document already open only comes to the front). When a listed file was moved or deleted,
Quorvel says so and offers to remove it from the list. You can also drop a document on the main window, or
name it on the command line.</p>
<p>See also <a href="5015">Recent files and the starting file</a>.</p>)"}},
      {5002, {"Save", R"(
<p><b>Save</b> (F3, the Save button) writes the active mountain to its document. A mountain that has no file
yet asks for a name first.</p>
<p>What is saved depends on the active window: with a mountain card active, the mountain alone
(<i>*.mat</i>); with a view active, a view document (<i>*.vue</i>) that holds the mountain and the view's
settings, with the view's picture beside it (BMP or JPEG, as set on the <a href="306">Scale</a> page); with
a video active, a video document (<i>*.vid</i>) with its camera path and its movie beside it.</p>
<p><b>Save Mountain under...</b>, <b>Save View under ...</b> and <b>Save Movie under ...</b> save under a
new name. Quorvel asks before replacing a file. If a file cannot be written you are told why, and the
document stays open and unsaved. <b>Remove</b> deletes the active document's file, asking first for it and
for its pictures and movie.</p>)"}},
      {5003, {"Create a new mountain", R"(
<p><b>Create a new Mountain</b> (F5, the New button) generates a new mountain from the current creation
options and opens its <a href="4006">card</a>. It takes the lowest free of the five mountain slots and is
named "New #" with that number until it is saved.</p>
<p>A progress window shows the generation; <b>Cancel</b> or Escape stops it and keeps the heights made so far,
without trees. The same generation key gives the same mountain again: tick <b>Random</b> in the
<a href="202">creation options</a> to get a new one each time.</p>
<p><b>Create a Flat surface</b> makes a flat mountain to shape by hand in the editor. With five mountains open
you are asked to close one first.</p>)"}},
      {5004, {"Creation options", R"(
<p><b>Creation options ...</b> (F7, the Get button) opens the dialog "Adjustments of the mountain", where you
set how mountains are generated. It has four pages, reached by their tabs or by the arrow buttons:
<a href="202">Mountain</a> (relief, roughness, erosion, mesh and key), <a href="206">Trees</a> (four tree
layers), <a href="201">Additive</a> (shore, terraces and distortions) and <a href="207">profiles</a>
(detail of each subdivision level). The small picture shows a preview mountain made from the settings: hold
the turn buttons to turn it, and press <b>More detailed</b> for a finer preview.</p>
<p>At the bottom, the mountain list and its arrows choose which open mountain's settings you edit. Choose
what OK does: <b>Later</b> keeps the settings for the next mountain, <b>Redo</b> generates the chosen
mountain again with them, <b>Add</b> makes a new mountain, <b>Trees only</b> plants its trees again (on the
Trees page). Tick <b>See</b> to open a view of the result at once. <b>Cancel</b> changes nothing.</p>)"}},
      {5005, {"Edit the active mountain", R"(
<p><b>Edit the active mountain</b> (F4, the Editor button, or <b>Edition</b> on the card) opens the
<a href="4008">map editor</a> of the active mountain: the mountain seen from above, with tools that raise
and dig the relief, draw rivers and roads, plant trees and paint the ground. Each mountain has one editor; if
it is already open it comes to the front.</p>
<p>The <b>Edition</b> menu also holds <b>Refresh the edition window</b> (the editor takes the current view's
colours and levels), <b>Lift ...</b> and <b>Cross-Section</b> (see <a href="4024">Elevation</a>), the
<b>Erase all rivers / trees / ground</b> commands and <b>Close edition</b>.</p>)"}},
      {5006, {"See", R"(
<p><b>see</b> (F6, the View button, or <b>See</b> on a card) opens a new <a href="4007">view window</a> of the
active mountain and draws it with the current <a href="5008">view options</a>. A progress window shows the
drawing; <b>Cancel</b> stops it and keeps what was drawn.</p>
<p><b>See in a full screen</b> draws the view in a window that fills the main window. At most ten views can
be open; close one to make another.</p>)"}},
      {5007, {"Refresh the active view", R"(
<p><b>Refresh the active view</b> (F9, the Refresh button, or <b>Refresh</b> in the view's menu) draws the
active view again with its own settings, for example after you changed the mountain in the editor or
resized the window.</p>
<p>With <b>Rough picture</b> ticked in the View menu the picture is drawn faster and coarser. With
<b>Automatic refresh</b> (Ctrl+R) on, the display switches of the View menu redraw the view at once
(<a href="5016">Display switches</a>).</p>)"}},
      {5008, {"View options", R"(
<p><b>View options ...</b> (F8, the Adjust button, or <b>Adjustements ...</b> in a view's menu) opens the
dialog "Adjustments of the view". Its six pages set how a mountain is seen: <a href="306">Scale</a> (picture
size and file kind), <a href="302">Framing</a> (observer, target, zoom and sun), <a href="311">Trees</a>,
<a href="304">Levels</a> (where sea, sand, grass, rock and snow begin), <a href="310">Colours</a> and
<a href="312">Weather</a> (mist, sky, clouds and sea). Each page has small previews that follow your
changes.</p>
<p>The list at the bottom chooses the open view whose settings you edit (without open views, the settings
are those of the next new view). Choose what OK does: <b>Later</b> only keeps the settings, <b>Redraw</b> draws the chosen view again
with them, <b>Add</b> opens a new view. <b>Cancel</b> changes nothing.</p>)"}},
      {5009, {"Exit", R"(
<p><b>Exit</b> (the Exit button, or closing the main window) ends Quorvel. For each mountain with a file that
was changed, directly, in a view, in a video or in its editor, you are asked whether to save it. If a save you
asked for cannot be made, Quorvel stays open so that nothing is lost.</p>
<p>The options file keeps the starting file and the list of recent files for the next start; the creation,
view and video defaults are kept only by <b>Save Options</b> (<a href="5015">Recent files and the starting
file</a>). While a movie is being made or a long computation runs, Quorvel cannot close: it says so, and
closes when you try again after the work has ended or was cancelled.</p>)"}},
      {5011, {"Explorer", R"(
<p><b>Explorer</b> (the Explorer button, or <b>Window &gt; Explorer</b>) shows or hides the tree of open
documents at the left of the main window: each mountain, with its map editor, its views and under each view
its videos. Click a node to bring its window to the front.</p>
<p>The <b>Window</b> menu arranges the windows: <b>Tile</b> stacks them, each one caption lower than the
last; <b>Mosaic</b> puts the cards in a column at the left and shares the rest of the area between the other
windows; <b>Minimize all</b> reduces every window to its caption and <b>Reorganizes</b> lines the reduced
windows up along the bottom.</p>)"}},
      {5012, {"Adjustments of video", R"(
<p><b>Adjustements of Video</b> (the video Adjust button, or <b>Adjustements ...</b> in a video's menu) opens
the dialog "Adjustements of the video" for the active view or video. It has three pages:</p>
<ul>
<li><b>Size</b>: the frame size, chosen in the list or typed (<b>Else ...</b>, from 300 x 200 to 4095 x 4095).</li>
<li><b>Path</b>: the camera's way over the mountain, drawn on the map. <b>Observer on a circle</b> turns around
the target: the left button grows the circle, the right button shrinks it (<b>circle size</b>), <b>Move
circle</b> places its centre. <b>Open path</b> and <b>Closed path</b> follow a curve: press <b>Create
path</b>, click its points, and double-click to end (the count "N=" turns green when it may end); drag a point
to move it. <b>Fixed target pt</b> keeps the camera looking at one point (<b>Move target pt</b> places it).
Drag the seven markers of the altitude profile to set the camera's height along the path, and the two vertical
lines to choose the part of the path that is filmed. The preview shows any frame: move its bar or press play;
zoom, vision angle and target distance are set beside it.</li>
<li><b>Creation</b>: the <a href="4018">codec</a>, the number of frames (200 to 9999, played at 30 frames
a second) and <b>Video File Detailed Parameters</b>. <b>Play a reduced video</b> makes and plays a small test movie.</li>
</ul>
<p>On OK: <b>Later</b> keeps the settings, <b>Redo</b> makes the video's movie again, <b>Add</b> opens a new
video. <b>Cancel</b> changes nothing.</p>)"}},
      {5013, {"Create video", R"(
<p><b>Create Video</b> (the Video button) opens a new <a href="4017">video window</a> for the active view and
makes its movie along the camera path set in the <a href="5012">video adjustments</a>: every frame is drawn
like a view, then the frames are encoded into an <i>.avi</i> or <i>.mpg</i> movie, depending on the
<a href="4018">codec</a>.</p>
<p>The video making window shows the frame being drawn, the frame count, the codec and the time left;
<b>Cancel</b> stops the making.
Making a long movie takes time: Quorvel cannot be closed until it has ended. At most ten videos can be
open.</p>
<p>The Videos menu also has <b>Duplicate Video</b>, <b>Refresh video</b> (make the movie again),
<b>Detailed parameters</b> (ask for the movie file's coding details before making), <b>Informatons</b> (the
movie file's information) and <b>Close the video</b>.</p>)"}},
      {4016, {"Import", R"(
<p><b>Import ...</b> turns an elevation file (<i>TXT</i>, <i>DEM</i>, <i>MNT</i>) or a grey-level bitmap into a
new mountain. After you choose the file, the Import window shows it as a relief map, with a triangle: the part
inside the triangle becomes the mountain.</p>
<p>Place the triangle with the mouse or the keys: <b>Turn right (R)</b>, <b>Turn left (T)</b>, <b>Move left
(S)</b>, <b>Move right (F)</b>, <b>Move top (E)</b>, <b>Move down (C)</b>, <b>Put at the centre</b>, and its size
with <b>Scale (Y,U)</b>. <b>Go over</b> lets the triangle pass the edges of the source. The <b>Mini</b> and
<b>Maxi</b> bars choose the range of heights kept, <b>Mesh degree</b> the fineness of the new mountain and
<b>Smooth before import</b> softens the source. A picture of the same name with <i>.jpg</i> can be draped over
the land as an <b>Aerial picture</b> (P shows the picture or the relief). The zoom buttons enlarge or reduce the
map.</p>
<p>Press <b>Import</b> (Start import to Quorvel): the new mountain opens in a free slot, its card showing
it.</p>)"}},
      {5014, {"Using help", R"(
<p>Help shows one topic at a time. The buttons above every page lead to the <b>Contents</b> (every topic by
subject), to the <b>Index</b> (find a topic by its title or by a word it uses) and <b>Back</b> to the page you
read before. Underlined words lead to other topics.</p>
<p>In the Index, type the first letters of what you look for: the list keeps the topics whose title holds
them, then those whose text uses them. Press Enter or <b>Display</b> to read the selected topic; the arrow
keys move in the list.</p>
<p>There are several ways into help: <b>F1</b> in a window shows that window's topic; the <b>Help</b>
buttons of the dialogs show the topic of the page shown; <b>Help &gt; Index</b> (F1 in the main window) opens
the Index; <b>Help &gt; Help</b> the Contents; <b>Contextual Help</b> (the Help button) turns the pointer into
a question mark: then click a command, a button or a window to read its topic instead of using it, until you
choose <b>Contextual Help</b> again or open the Index.</p>)"}},
      {5015, {"Recent files and the starting file", R"(
<p>Quorvel keeps its settings in the options file <i>montagne.ini</i>. It holds the default creation, view
and video settings, the list of recent files and the starting file.</p>
<p>The recent files, most recent first, are listed in the <b>File</b> menu (ten at most). Click one to open it.
A listed file that was moved, renamed or deleted cannot be opened: Quorvel says so and offers to remove it
from the list. Files missing when Quorvel starts are dropped from the list.</p>
<p>Tick <b>starting file</b> in the File menu to open the current document again at the next start.
<b>Save Options</b> writes the current creation, view and video settings as the defaults of the next start;
<b>Read Options</b> takes the saved defaults back.</p>)"}},
      {5016, {"Display switches", R"(
<p>The <b>View</b> menu switches parts of the picture on and off for the active view (and for the next new
views): <b>Visible Mesh</b> (Ctrl+M, the lattice drawn as wires), <b>Fixed scale</b> (Ctrl+E, the picture keeps
the size set on the <a href="306">Scale</a> page instead of following the window), <b>Distortion allowed</b>
(Ctrl+D, the picture may be stretched to any shape of the window), <b>Trees</b> (Ctrl+A), <b>Cast shadow</b>
(Ctrl+P), <b>Mist</b> (Ctrl+B; cast shadow and mist exclude each other), <b>Details</b> (Ctrl+T, finer relief
in the foreground), <b>Horizon</b> (Ctrl+H), <b>Reflection</b> (Ctrl+F, the sea mirrors the land) and
<b>Picture</b> (Ctrl+O, an imported aerial picture drapes the land).</p>
<p>With <b>Automatic refresh</b> (Ctrl+R) on, each switch redraws the view at once; otherwise press F9.
<b>Rough picture</b> draws faster and coarser; <b>Level curves</b> shows heights in bands in the map
editor.</p>)"}},

      // ------------------------------------------------------------ windows
      {4006, {"Mountain card", R"(
<p>Each open mountain has a card. It shows the mesh size, "Horizontal Distorsion" when the mountain has
distortion maps, the number of its views and whether it was saved ("File written on ...", "File saved today"
or "New mountain").</p>
<p><b>Memo</b> opens a text area for up to eleven lines of comment, saved with the mountain; <b>OK</b> closes it.
<b>Edition</b> opens the <a href="4008">map editor</a>. <b>Picture</b> drapes the imported aerial picture over
the land in the views (only for mountains that have one).</p>
<p>Right-click the card for its commands: <b>See</b> (F6), <b>Edit</b>, <b>Create the trees</b>,
<b>Regenerate</b>, <b>Duplicate</b>, <b>Refine</b> (a mesh twice as fine), <b>Adjustments ...</b> (F7),
<b>Refine options ...</b>, <b>Raise</b> or <b>Drop</b> the whole mountain by 10 or 100 meters, and
<b>Help</b>. Closing the card closes the mountain with its views, videos and editor.</p>)"}},
      {4007, {"View window", R"(
<p>A view window shows the mountain as seen by an observer looking at a target, drawn with the view's own
settings. The status bar says whether the picture follows the window ("Variable") or keeps a fixed size
("Fixed"), and gives the picture's size ("Frame:").</p>
<p>Resize the window to change the size of the picture (it keeps the shape 4 x 3 unless distortion is allowed),
then press F9 to draw it again. Right-click the picture for the view's commands: <b>Refresh</b> (F9),
<b>Duplicate</b> (a new view with the same picture, without drawing it), the switches <b>Visible mesh</b>,
<b>Fixed scale</b>, <b>Distortion allowed</b>, <b>Trees</b>, <b>Casted shadow</b>, <b>Mist</b>, <b>Details</b>,
<b>Horizon</b> and <b>Reflexion</b>, <b>Adjustements ...</b> (F8, the <a href="5008">view options</a>),
<b>Informations</b> (the <a href="5010">statistics</a> of the last drawing) and <b>help</b>.</p>
<p>A view of a saved view document that was drawn again asks whether to save it when it closes.</p>)"}},
      {4017, {"Video window", R"(
<p>A video window shows the movie of a video. The buttons below it play, pause and stop the movie, go to the
first or last frame, and step one frame forward or back. <b>Play</b> opens the movie in the desktop's own
movie player; when no movie player is found, Quorvel says so.</p>
<p>Right-click the window for its commands: <b>Regenerate</b> (make the movie again with the current
settings), <b>Duplicate the video</b>, <b>Detailed Parameters</b>, <b>Adjustements ...</b> (the
<a href="5012">video adjustments</a>), <b>Informations</b> (size, codec and length of the movie file) and
<b>Help</b>. A video whose movie was made again asks whether to save it when it closes.</p>)"}},
      {4018, {"Movie codecs", R"(
<p>The codec, chosen on the <b>Creation</b> page of the <a href="5012">video adjustments</a>, decides the
kind of movie file, its picture size and where it plays. The first four make an <i>.avi</i> file, the
others an MPEG file <i>.mpg</i>.</p>
<ul>
<li><b>AVI CVID Cinepack</b> (Cinepak): full colour, small files. Plays in almost every movie player
(Windows Media Player, VLC, mpv and the other players built on FFmpeg). Its sides are multiples of 4: a
width or height that is not is cut down to one, the last columns or rows of the frame being left out.</li>
<li><b>AVI IV32 Intel Indeo Video R3.2</b> (Indeo 3.2): written by Quorvel's own encoder. The format holds
frames from 16 x 16 to 640 x 480 whose sides are multiples of 4; a video size it cannot hold is scaled into
it, keeping the picture's proportions. Plays in Windows players that have the Indeo codec, and in VLC, mpv
and the other players built on FFmpeg.</li>
<li><b>AVI MSVC Microsoft Video 1</b>: 32768 colours (5 bits a channel), fast to decode, larger files.
Plays in Windows Media Player and in the players built on FFmpeg. Its sides are cut down to multiples of 4,
as for Cinepak.</li>
<li><b>AVI RLE Run Length Encoding</b>: 256 colours taken from the movie's first frame (its own colours when
it has no more than 229), without dithering, so flat areas stay flat and each run of equal pixels is stored
once; lossless for pictures of few flat colours such as Quorvel's landscapes, near for the colours later frames
bring. A frame that would not shrink is stored uncompressed. Plays in Windows Media Player and in the players
built on FFmpeg. Any size.</li>
<li><b>MPEG-1 standard</b> and <b>MPEG-2 standard</b>: the video's own size, at 30 frames a second. MPEG-1
plays in nearly every player; MPEG-2 gives a better picture for the same file size and
plays in every current player.</li>
<li><b>MPEG-1 VCD extension VideoCD</b>: a Video CD movie, 352 x 240 at 29.97 frames a second.</li>
<li><b>MPEG-2 SVCD extension Super VideoCD</b>: a Super Video CD movie, 480 x 480.</li>
<li><b>MPEG-2 DVD</b>: a DVD movie, 720 x 480.</li>
</ul>
<p>The three disc codecs make movies that comply with their disc's rules in the NTSC standard (29.97 frames a
second), whatever the video size: the picture is scaled to the disc's frame keeping its proportions, with
bands above and below (or at the sides) where its shape differs. Burn them with a disc-authoring program to
play them in a Video CD, Super Video CD or DVD player; computers play the files as they are.</p>
<p>The other codecs keep the video size chosen on the <b>Size</b> page (300 x 200 to 4095 x 4095), within the
rules above. <b>Video File Detailed Parameters</b> asks before making the movie for the rate of data a second
and the other coding details of the file.</p>)"}},
      {4100, {"View gallery", R"(
<p><b>Scan ...</b> lets you choose several view documents (<i>*.vue</i>) and shows them in the "Collection"
window: up to sixteen thumbnails of their saved pictures, sorted by name.</p>
<p>Click a thumbnail to read its name, mesh, picture size and date at the bottom ("No image" when its
picture is missing). Double-click it to open the view document.</p>)"}},
      {5010, {"Statistics", R"(
<p>The "information" window (<b>Informations</b> in the View menu or in a view's menu) gives figures of the
view's last drawing: the mean, lowest and highest altitudes and the sea level; the share of low, medium and high
slopes; for each tree species drawn, the number of trees and the number that could be seen; the number of
river springs and the total length of the rivers.</p>
<p>It is available once the view has been drawn. Press OK to close it.</p>)"}},

      // ------------------------------------------------------------ mountain dialogs
      {202, {"Creation options: Mountain", R"(
<p>The <b>Mountain</b> page sets the shape of the generated relief. <b>Relief</b> (1 to 100) is the mean
height of the landscape, <b>Profile</b> (1 to 100) how rough it is. <b>Erosion</b> (0 to 40) carves valleys,
starting at the given depth below the highest point. <b>Smoothing</b> (0 to 40) softens the result and the
dispersion bar spreads the mountain over the area. You can also type the values in the boxes beside the
bars: a value outside a bar's range is brought back to its nearest end.</p>
<p>The mesh list sets how fine the mountain is, from degree 4 (256 facets) to degree 11 (over four million):
finer meshes take longer to make and to draw. <b>Island</b> surrounds the land with sea and <b>Basin</b>
hollows its middle.</p>
<p>The <b>generation key</b> decides the mountain: the same key and settings always give the same mountain.
<b>New Mountain</b> draws a new key; <b>Random</b> draws one at each generation; unroll the key list for the
keys typed during this session.</p>)"}},
      {206, {"Creation options: Trees", R"(
<p>The <b>Trees</b> page sets where trees grow on a new mountain, in four layers from the plain to the high
ground. Choose a layer in the list, with its arrows or by clicking its band in the levels figure; its box
switches it on or off (the layer name is red when it is on).</p>
<p>For the layer shown, set the number of trees, the lowest and highest slopes (in degrees, shown in the
slope figure), the lowest and highest altitudes, and the transition zone where the layer thins out.
<b>Trees grouped</b> gathers them in woods. Choose <b>Trees only</b> and OK to plant the trees of the
displayed mountain again without changing its relief.</p>)"}},
      {201, {"Creation options: Additive", R"(
<p>The <b>Additive</b> page adds shapes after the generation. <b>Shore</b> shapes a shore along the sea, with the
rate and the height set by its two bars. <b>Terraces</b> cuts the slopes into steps: set their number and the slope
of their edges; <b>Cliffs</b> makes the edges vertical.</p>
<p><b>Oriented</b> gives the relief folds in one direction; its bar sets how far they extend.
<b>Horizontal</b> adds distortion maps that push the relief sideways (needed by the Shape tool's Thrust and the
Stratum tool of the map editor), with its extension bar.</p>)"}},
      {207, {"Creation options: profiles", R"(
<p>The <b>profiles</b> page weighs each subdivision level of the generation, from level 3 (the large
shapes) to level 10 (the finest details). A higher bar makes the features of that size stronger; lower bars
smooth them. Levels beyond the chosen mesh degree are not used and are disabled.</p>)"}},
      {252, {"Refine options", R"(
<p>Refining doubles the fineness of the active mountain (its mesh degree grows by one, up to 11), adding new
detail between the existing points. This dialog ("Refinement dialog") sets the <b>Relief</b> (flat to high)
and the <b>Profile</b> (smooth to rough) of that new detail.</p>
<p><b>Later</b> keeps the values for the next <b>Refine</b>; <b>Now</b> refines the active mountain at once.
Refining closes the mountain's views without asking. <b>Cancel</b> comes back to the initial values.</p>)"}},
      {253, {"Combine two mountains", R"(
<p>"Combine two mountains" mixes a second mountain (2), chosen in the list among the open mountains of the same
mesh, into the active one (1). <b>Add elevation of (2) to this one of (1)</b> sums the heights; the two
<b>Replace</b> choices keep, point by point, the higher or the lower of the two. <b>Invert the altitude of
mountain (2)</b> turns its summits into hollows first.</p>
<p>OK starts the combination; <b>Cancel</b> changes nothing. With no other mountain of the same mesh open, the
dialog does not open.</p>)"}},

      // ------------------------------------------------------------ view options
      {306, {"View options: Scale", R"(
<p>The <b>Scale</b> page sets the size of the picture: one of four sizes (320 x 240 to 1024 x 768) or
<b>specific sizes</b> typed in. <b>Fixed scale</b> keeps that size whatever the window's size, and its scale
(1:) enlarges or reduces it; without it the picture follows the window.</p>
<p><b>Details</b> draws the foreground with a finer relief; <b>Distortion</b> lets the picture take any
shape. <b>BMP file</b> or <b>JPEG File kind</b> chooses how the picture is saved beside a view document.
<b>Imported picture</b> uses the colours of an imported aerial picture, with its <b>Mask</b>.</p>)"}},
      {302, {"View options: Framing", R"(
<p>The <b>Framing</b> page sets where the observer stands and where it looks: the vertical and horizontal
view angles, the distance to the target, the eye height and the zoom, and the sun's elevation and azimuth.
Change them with the bars and arrows, or drag near an edge of the large preview to turn the view.</p>
<p>The small box shows the picture's frame on the mountain: its arrow buttons move the frame. <b>Visible
mesh</b> draws the preview as wires, faster. <b>Observer placed</b> uses the observer point set in the map
editor, whose map then shows the two sight lines. The detail button draws the preview from the real mountain;
<b>Detailed display permanent</b> keeps doing so after each change.</p>)"}},
      {311, {"View options: Trees", R"(
<p>The <b>Trees</b> page sets the look of the six tree layers of the view (only the layers present on the
displayed mountain can be chosen): the kind of tree (oak, fir, poplar, pine, palm, corn, cactus or bush), the
leaf colour and the sizes of trunk, branches and leaves, and the grounds where the layer must not grow.</p>
<p>The preview shows one tree of the layer: hold an arrow to turn it, press <b>Create a new tree</b> to grow
another one, <b>detailed drawing</b> to draw it close up, and <b>draw a tree for each layer</b> to see every
layer side by side.</p>)"}},
      {304, {"View options: Levels", R"(
<p>The <b>Levels</b> page sets the altitudes where the sea, sand, grass, rock and snow begin, how grass and
rock overlap, how gradually snow appears, and the diversity of the colours. The preview shows the whole
mountain in its level colours; it is drawn again when you let a bar go.</p>)"}},
      {310, {"View options: Colours", R"(
<p>The <b>Colours</b> page edits the ten level colours (soil, grass, rock, snow, sea, sand ...). Choose a
level in the list, with the arrows or by clicking the palette, then set its red, green and blue, or its light,
or pick it with <b>Palette ...</b>.</p>
<p><b>Contrast</b> and <b>shadow depth</b> shape every colour ramp, as the palette shows. <b>Idle Colours</b>
uses the program's own colours and disables the colour bars.</p>)"}},
      {312, {"View options: Weather", R"(
<p>The <b>Weather</b> page chooses <b>Sunny</b> (with cast shadows), <b>Mist</b> (with its density and height)
or <b>Overcast</b>. The sky is light, clouded (with the number, size and height of the clouds) or a
picture from the program's <i>ciels</i> folder. <b>Horizon</b> draws the far plain,
lowered as set; without it the sky choice is off.</p>
<p>The sea's choppiness and reflections are set here too. The three previews show the mist, the sky and the
sea.</p>)"}},

      // ------------------------------------------------------------ map editor
      {4008, {"Map editor", R"(
<p>The map editor shows the mountain from straight above, in its level colours. The white cross is the target
point of the views, the white disc the observer. Moving the pointer over the map shows the position (x, y in
metres) in the status bar and the altitude on the <a href="4009">gauge</a>.</p>
<p>Choose a tool in the toolbar; its name and a help line appear. Most tools work on a click (a summit, a
centre) or a drawn line: press, drag and release. Tools with settings then open the <a href="4021">tool
dialog</a>, which shows the cross-section before and after; OK applies the tool. <b>Cancel the last
operation</b> undoes the last tool.</p>
<p><b>Zoom</b> (Home) doubles the map, <b>Level curves</b> (End) shows the heights in bands, <b>Autosave</b>
keeps the map pictures beside the document so that the editor opens faster next time. Right-click the map for
<b>Cross-section</b>, <b>Refresh</b>, <b>Raise ...</b>, the erase commands, <b>Save map</b> and
<b>Help</b>. Closing the editor after changes asks whether to save the mountain.</p>)"}},
      {4009, {"Altitude gauge", R"(
<p>The gauge at the right of the map editor shows the altitude under the pointer, from 4000 m at the top to
-1000 m at the bottom; the figure above it gives the exact value. The red line is the current altitude and
the yellow band the way from the previous one, so you can follow the relief while moving.</p>)"}},
      {4021, {"Shape", R"(
<p>The Shape tool raises or digs a summit (click) or a crest line (draw a line). In its dialog, <b>Base</b>
and <b>Summit</b> are the widths at the foot and at the top, and the altitude bar sets the height after the
tool (<b>After</b>, from +4000 m to -2000 m); the section shows the ground before and, in red, after.</p>
<p><b>Linear</b> or <b>Weighted</b> chooses the profile of the slopes. On a line, the dialog edits the
<b>Begin</b> and <b>End</b> points: <b>D=F</b> gives the end the values of the beginning, <b>D&lt;-&gt;F</b>
switches between them, and the rotate button turns the section by 60 degrees. With distortion maps,
<b>Thrust</b> pushes the relief sideways. Tick <b>see the result</b> to redraw the map after OK.</p>)"}},
      {4022, {"Plateau", R"(
<p>The Plateau tool flattens the ground inside a circle: click its centre. In the dialog, <b>Base</b> is the
circle's width (drawn on the map), <b>start</b> and <b>end</b> the altitudes before and after: the ground between
them is brought to the end altitude. <b>Plateau</b> gives progressive edges, <b>Cliff</b> vertical edges; the
ratio sets how sharp they are. The section shows the result before you press OK; <b>Cancel</b> leaves the
ground as it was.</p>)"}},
      {4023, {"Valley", R"(
<p>The Valley tool digs a valley with its river, from the spring you click down to the sea, following the
steepest way. In the dialog, <b>Valley</b> is the valley's width, <b>River</b> the river's width and
<b>Depth</b> how deep it cuts. <b>River only</b> draws the river in the existing relief without digging.</p>
<p>The rivers are drawn in the views. The <b>Delete river</b> tool removes the river whose spring you click;
<b>Erase rivers</b> removes them all.</p>)"}},
      {4024, {"Elevation", R"(
<p><b>Raise ...</b> (in the editor's menu or <b>Lift ...</b> in the Edition menu) raises or lowers the whole
mountain: move the highest point to its new altitude. <b>Uniforme</b> adds the same height everywhere;
<b>Stretching</b> changes heights in proportion, so the lowlands stay. <b>Cross-section</b> only shows the
ground's section through a point. The card's <b>Raise</b> and <b>Drop</b> items move the mountain by 10 or
100 m.</p>)"}},
      {4025, {"Smoothing", R"(
<p>The Smoothing tool softens the relief inside a circle: click its centre. In the dialog, <b>Base</b> is the
circle's width; the two altitude bars set the band that is smoothed, between the lowest and the highest
altitude, so that you can smooth the valleys and keep the summits sharp, or the reverse. A positive ratio
smooths, a negative one makes the ground rougher.</p>)"}},
      {4028, {"Cone", R"(
<p>The Cone tool builds a cone, like a volcano, on the summit you click, or a ridge of cones along the crest
line you draw. In the dialog, <b>Angle</b> is the slope of its sides and the altitude bar sets the height of its
summit ("Sommit at"). On a line, <b>Begin</b> and <b>End</b> can have their own values (<b>D=F</b> copies
the beginning's values to the end).</p>)"}},
      {4029, {"Pass", R"(
<p>The Pass tool raises or digs the middle of the line you draw to the chosen altitude, like a pass between
two summits; the ends stay where they are. Draw the line across the crest, from one side to the other, then
set in the dialog the width of the pass (<b>Base</b>) and its altitude; the section, taken at the middle of the
line, shows the ground before and after.</p>)"}},
      {4030, {"Road", R"(
<p>The Road tool draws a road along the line you draw, levelling the ground under it from one end to the
other. In the dialog, <b>Width</b> is the road's width and <b>Earth.</b> the earthworks on its sides; tick
<b>Path</b> for a path without earthworks.</p>)"}},
      {4031, {"Erosion", R"(
<p>The Erosion tool ("Streaming") lets water stream from an area and dig valleys down the slopes: click the
centre of the area. In the dialog, <b>Area</b> is the area's size, <b>Width</b> and <b>Depth</b> (0 to 200 m)
those of the valleys, and the ratio their density. Large areas and dense valleys take longer; the progress
window's <b>Cancel</b> stops the work.</p>)"}},
      {4032, {"Copy", R"(
<p>The Copy tool copies the relief inside a circle, above the <b>start</b> altitude: click its centre, then set
the size of the area to be copied and the start altitude in the dialog. Only what rises above that altitude is
copied, so a summit can be taken without the plain around it.</p>
<p>Then use <a href="4033">Paste</a> to add it elsewhere, on this mountain or on another mountain of the same
mesh: the Paste button is enabled once something was copied.</p>)"}},
      {4033, {"Paste", R"(
<p>The Paste tool adds the relief taken with <a href="4032">Copy</a> around the point you click, on top of the
ground that is there. The dialog's section shows the result; move the highest point with the altitude bar to
scale the pasted relief up or down ("Maximum altitude difference" gives the change). OK pastes;
<b>Cancel</b> leaves the ground as it was.</p>)"}},
      {4042, {"Stratum", R"(
<p>The Stratum tool bends the strata of a mountain that has distortion maps (<b>Horizontal</b> on the
<a href="201">Additive</a> page of the creation options); for other mountains its button is disabled. Click the
centre of the stratum: in the dialog the <b>bottom</b> and <b>top</b> altitudes bound the stratum and
<b>Depth</b> sets how far, and in which direction, it is pushed.</p>)"}},
      {4043, {"Relief", R"(
<p>The Relief tool grows new, natural-looking relief inside a circle, between the lowest and highest
altitudes of its band: click the centre. In the dialog, <b>Base</b> is the circle's width and the
<b>Relief</b> bar the height of the new relief. <b>Totality</b> reshapes all of it; <b>Emergent</b> renews only
the part that rises, with the share set by the ratio.</p>)"}},
  };
  return topics;
}
