// Every text the video settings dialog shows: captions, labels and messages.
#pragma once

#include <QString>

namespace textes_reglages {

// A text as the toolkit takes it.
inline QString Q(const char* s) { return QString::fromUtf8(s); }

inline constexpr char kTitre[] = "Adjustements of the video";
inline constexpr char kMessage[] = "Video";  // caption of its message boxes

// Pages.
inline constexpr char kPageTaille[] = "Size";
inline constexpr char kPageTrajet[] = "Path";
inline constexpr char kPageCreation[] = "Creation";

// Common buttons, list and mode.
inline constexpr char kOk[] = "OK";
inline constexpr char kAnnuler[] = "Cancel";
inline constexpr char kAide[] = "Help";
inline constexpr char kVideo[] = "Video :";
inline constexpr char kMode[] = "On OK";
inline constexpr char kPlusTard[] = "Later";
inline constexpr char kRefaire[] = "Redo";
inline constexpr char kAjouter[] = "Add";

// Size page.
inline constexpr char kTaille[] = "Frame size";
inline constexpr char k320[] = "320 x 240";
inline constexpr char k640[] = "640 x 480";
inline constexpr char k800[] = "800 x 600";
inline constexpr char k800_16_9[] = "800 x 450 (16/9)";
inline constexpr char kAutre[] = "Else ...";
inline constexpr char kLargeur[] = "Width";
inline constexpr char kHauteur[] = "Height";

// Path page.
inline constexpr char kCercle[] = "Observer on a circle";
inline constexpr char kOuvert[] = "Open path";
inline constexpr char kFerme[] = "Closed path";
inline constexpr char kCreerTrajet[] = "Create path";
inline constexpr char kTailleCercle[] = "circle size";
inline constexpr char kBougerCercle[] = "Move circle";
inline constexpr char kBougerCible[] = "Move target pt";
inline constexpr char kCibleFixe[] = "Fixed target pt";
inline constexpr char kDistance[] = "Target distance";
inline constexpr char kZoom[] = "Zoom";
inline constexpr char kAngle[] = "Vision angle";
inline constexpr char kAltitudes[] = "Altitudes of the path";
inline constexpr char kAltitudeMax[] = "Top altitude : ";
inline constexpr char kObservateur[] = "Reset altitudes";
inline constexpr char kRemiseAZero[] = "Whole path";
inline constexpr char kNombre[] = "N= ";
inline constexpr char kImage[] = "Frame ";

// Creation page.
inline constexpr char kCodec[] = "Codec";
inline constexpr char kDetails[] = "Video File Detailed Parameters";
inline constexpr char kNombreImages[] = "Number of frames";
inline constexpr char kPremiereImage[] = "First frame : ";
inline constexpr char kDerniereImage[] = "Last frame : ";
inline constexpr char kImagesGenerees[] = "Frames generated : ";
inline constexpr char kDuree[] = "Playing time in sec at 30 frames/sec: ";
inline constexpr char kIndeo[] =
    "Indeo 3.2 holds 16 to 640 x 16 to 480 pixels in steps of 4: frames of another size are scaled to fit, "
    "keeping their proportions";
inline constexpr char kIndeoTaille[] = "These frames are coded at ";
inline constexpr char kVideoReduite[] = "Play a reduced video";

// Messages.
inline constexpr char kCreerAvecBouton[] = "Create a path using \"Create path\" button";
inline constexpr char kEffacerTrajet[] = "Do you want to erase the existing path ?";
inline constexpr char kManqueOuvert[] =
    "Lack of points , click 4, 7, 10 or 13 points (or if color 'N=' is green) ";
inline constexpr char kManqueFerme[] =
    "Lack of points , click 3, 6, 9 or 12 points (or if color 'N=' is green) ";

}  // namespace textes_reglages
