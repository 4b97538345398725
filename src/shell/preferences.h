#pragma once
#include "platform/win_color.h"

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// The program's remembered settings as kept in "OV.ini". Plain values: the main
// window copies them into its state after loading and back before saving.
struct TPreferences {
    int MainZoomPercent = 60;
    int PropZoomPercent = 30;
    QString DefaultFontName = QStringLiteral("Arial");
    int DefaultFontSize = 10;
    bool DefaultFontBold = false;
    bool DefaultFontItalic = false;
    bool DefaultFontUnderline = false;
    bool DefaultFontStrikeout = false;
    TColor DefaultFontColor = 0;
    QString LastIconFile; // empty until loaded: then ProgramFolder() + "MISC1.ICL" unless stored
    bool IconToolVisible = true;
    bool ShowHints = true;

    // A fresh installation's values (LastIconFile filled in).
    static TPreferences defaults();

    // Reads the sections "Zooming", "Default Font", "Icons" and "Hints"; a missing file
    // or key gives the default. Returns false (values then all defaults) only when the
    // file exists but cannot be read.
    bool LoadPreferences(const QString& iniFileName);
    bool LoadPreferences();
    // Writes every value, keeping whatever else the file holds. False when the file
    // cannot be written or an existing one cannot be read (it is then left alone).
    bool SavePreferences(const QString& iniFileName) const;
    bool SavePreferences() const;

    // The default editor font as the font dialog shows it (colour kept apart).
    QFont defaultFont() const;
    // Takes name, size and the four styles from a font the dialog returned.
    void setDefaultFont(const QFont& font);
};

// Font sizes outside this range read from the file fall back to the default.
constexpr int MinDefaultFontSize = 1;
constexpr int MaxDefaultFontSize = 1638;

// ---- window placement ---------------------------------------------------------------

// formClassName + "_Placement", followed by the pixels per inch when above 96, so each
// screen density keeps its own placement ("TCalendarMain_Placement120").
QString placementSectionName(const QString& formClassName, int ppi);

struct TFormPlacement {
    bool stored = false; // false: nothing usable stored, the caller centres the form
    QRect rect; // the form's normal rectangle, already fitted to the screen
    bool maximized = false;
};

// Moves a stored rectangle onto the available screen area: a right or bottom edge
// beyond the area shifts the rectangle back by the excess; an edge left of or above
// the area then shifts it forward; what is still too large is cut at the far edge.
QRect fitPlacementToScreen(const QRect& stored, const QRect& available);

// Reads the placement section of formClassName for the given density. Left, Top,
// Right, Bottom are a rectangle whose Right/Bottom lie just outside it (QRect's
// x() + width()). Bottom 0 (or an empty rectangle) means nothing is stored. The
// maximised flag defaults to currentlyMaximized.
TFormPlacement LoadFormPlacement(const QString& formClassName, int ppi, const QRect& available,
                                 bool currentlyMaximized, const QString& iniFileName);
TFormPlacement LoadFormPlacement(const QString& formClassName, int ppi, const QRect& available,
                                 bool currentlyMaximized);

// Writes the normal (restored) rectangle and the maximised state.
bool SaveFormPlacement(const QString& formClassName, int ppi, const QRect& normalRect, bool maximized,
                       const QString& iniFileName);
bool SaveFormPlacement(const QString& formClassName, int ppi, const QRect& normalRect, bool maximized);

// The whole sequence on a real window: reads the placement for ScreenPPI(), gives the
// form the fitted rectangle or centres it (CenterForm) when nothing is stored,
// maximises it when stored so, then saves the placement at once.
void LoadFormPlacement(QWidget* form, const QString& formClassName);
// Saves the form's normal rectangle and whether it is maximised.
bool SaveFormPlacement(QWidget* form, const QString& formClassName);
