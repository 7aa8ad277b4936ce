// The main window's title bar: the gradient caption with the main window's
// settings, drawn by the program on a frameless window where the window
// manager can still move and size it; elsewhere (offscreen) the window keeps
// the desktop's title bar and the caption only names it.
#pragma once

class QMainWindow;
namespace components {
class TRxGradientCaption;
}

components::TRxGradientCaption* poser_legende_principale(QMainWindow* fenetre);
