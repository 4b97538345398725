#include "preferences.h"

#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/screen_ppi.h"
#include "platform/shell_helpers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {
const QString kZooming = QStringLiteral("Zooming");
const QString kFont = QStringLiteral("Default Font");
const QString kIcons = QStringLiteral("Icons");
const QString kHints = QStringLiteral("Hints");
} // namespace

TPreferences TPreferences::defaults()
{
    TPreferences p;
    p.LastIconFile = ProgramFolder() + QStringLiteral("MISC1.ICL");
    return p;
}

bool TPreferences::LoadPreferences() { return LoadPreferences(IniFileName()); }

bool TPreferences::LoadPreferences(const QString& iniFileName)
{
    *this = defaults();
    IniFile ini;
    const bool ok = ini.load(iniFileName);
    const TPreferences d = *this;

    MainZoomPercent = ini.readInteger(kZooming, QStringLiteral("Main"), d.MainZoomPercent);
    PropZoomPercent = ini.readInteger(kZooming, QStringLiteral("Prop"), d.PropZoomPercent);

    DefaultFontName = ini.readString(kFont, QStringLiteral("Name"), d.DefaultFontName);
    // A font without a name cannot be chosen; fall back rather than hand on nothing.
    if (DefaultFontName.isEmpty())
        DefaultFontName = d.DefaultFontName;
    DefaultFontSize = ini.readInteger(kFont, QStringLiteral("Size"), d.DefaultFontSize);
    if (DefaultFontSize < MinDefaultFontSize || DefaultFontSize > MaxDefaultFontSize)
        DefaultFontSize = d.DefaultFontSize;
    DefaultFontBold = ini.readBool(kFont, QStringLiteral("Bold"), d.DefaultFontBold);
    DefaultFontItalic = ini.readBool(kFont, QStringLiteral("Italic"), d.DefaultFontItalic);
    DefaultFontUnderline = ini.readBool(kFont, QStringLiteral("Underline"), d.DefaultFontUnderline);
    DefaultFontStrikeout = ini.readBool(kFont, QStringLiteral("Strikeout"), d.DefaultFontStrikeout);
    DefaultFontColor = ini.readInteger(kFont, QStringLiteral("Color"), d.DefaultFontColor);

    LastIconFile = ini.readString(kIcons, QStringLiteral("File"), d.LastIconFile);
    IconToolVisible = ini.readBool(kIcons, QStringLiteral("Visible"), d.IconToolVisible);
    ShowHints = ini.readBool(kHints, QStringLiteral("On"), d.ShowHints);
    return ok;
}

bool TPreferences::SavePreferences() const { return SavePreferences(IniFileName()); }

bool TPreferences::SavePreferences(const QString& iniFileName) const
{
    IniFile ini;
    if (!ini.load(iniFileName))
        return false;
    ini.writeInteger(kZooming, QStringLiteral("Main"), MainZoomPercent);
    ini.writeInteger(kZooming, QStringLiteral("Prop"), PropZoomPercent);
    ini.writeString(kFont, QStringLiteral("Name"), DefaultFontName);
    ini.writeInteger(kFont, QStringLiteral("Size"), DefaultFontSize);
    ini.writeBool(kFont, QStringLiteral("Bold"), DefaultFontBold);
    ini.writeBool(kFont, QStringLiteral("Italic"), DefaultFontItalic);
    ini.writeBool(kFont, QStringLiteral("Underline"), DefaultFontUnderline);
    ini.writeBool(kFont, QStringLiteral("Strikeout"), DefaultFontStrikeout);
    ini.writeInteger(kFont, QStringLiteral("Color"), DefaultFontColor);
    ini.writeBool(kIcons, QStringLiteral("Visible"), IconToolVisible);
    ini.writeBool(kHints, QStringLiteral("On"), ShowHints);
    ini.writeString(kIcons, QStringLiteral("File"), LastIconFile);
    return ini.save();
}

QFont TPreferences::defaultFont() const
{
    QFont f(DefaultFontName);
    f.setPointSize(DefaultFontSize);
    f.setBold(DefaultFontBold);
    f.setItalic(DefaultFontItalic);
    f.setUnderline(DefaultFontUnderline);
    f.setStrikeOut(DefaultFontStrikeout);
    return f;
}

void TPreferences::setDefaultFont(const QFont& font)
{
    if (!font.family().isEmpty())
        DefaultFontName = font.family();
    const int points = font.pointSize() > 0 ? font.pointSize() : int(font.pointSizeF() + 0.5);
    if (points >= MinDefaultFontSize && points <= MaxDefaultFontSize)
        DefaultFontSize = points;
    DefaultFontBold = font.bold();
    DefaultFontItalic = font.italic();
    DefaultFontUnderline = font.underline();
    DefaultFontStrikeout = font.strikeOut();
}

// ---- window placement ---------------------------------------------------------------

QString placementSectionName(const QString& formClassName, int ppi)
{
    QString name = formClassName + QStringLiteral("_Placement");
    if (ppi > 96)
        name += QString::number(ppi);
    return name;
}

namespace {
// Window edges as the file keeps them (right and bottom just outside), in 64 bits so
// that no stored value can overflow on the way to a rectangle.
struct Edges {
    qint64 left, top, right, bottom;
};

QRect fitEdgesToScreen(Edges e, const QRect& available)
{
    const qint64 areaLeft = available.x(), areaTop = available.y();
    const qint64 areaRight = areaLeft + available.width(), areaBottom = areaTop + available.height();

    if (e.right > areaRight) {
        e.left += areaRight - e.right;
        e.right = areaRight;
    }
    if (e.bottom > areaBottom) {
        e.top += areaBottom - e.bottom;
        e.bottom = areaBottom;
    }
    // A rectangle wider or taller than the area would now hang off the other side with
    // its title bar out of reach; keep that edge on the screen as well.
    if (e.left < areaLeft) {
        e.right = std::min(e.right + (areaLeft - e.left), areaRight);
        e.left = areaLeft;
    }
    if (e.top < areaTop) {
        e.bottom = std::min(e.bottom + (areaTop - e.top), areaBottom);
        e.top = areaTop;
    }
    return QRect(int(e.left), int(e.top), int(e.right - e.left), int(e.bottom - e.top));
}
} // namespace

QRect fitPlacementToScreen(const QRect& stored, const QRect& available)
{
    if (!available.isValid())
        return stored;
    const qint64 left = stored.x(), top = stored.y();
    return fitEdgesToScreen({left, top, left + stored.width(), top + stored.height()}, available);
}

TFormPlacement LoadFormPlacement(const QString& formClassName, int ppi, const QRect& available,
                                 bool currentlyMaximized)
{
    return LoadFormPlacement(formClassName, ppi, available, currentlyMaximized, IniFileName());
}

TFormPlacement LoadFormPlacement(const QString& formClassName, int ppi, const QRect& available,
                                 bool currentlyMaximized, const QString& iniFileName)
{
    IniFile ini;
    ini.load(iniFileName);
    const QString section = placementSectionName(formClassName, ppi);
    const Edges e{ini.readInteger(section, QStringLiteral("Left"), 0), ini.readInteger(section, QStringLiteral("Top"), 0),
                  ini.readInteger(section, QStringLiteral("Right"), 0),
                  ini.readInteger(section, QStringLiteral("Bottom"), 0)};

    TFormPlacement p;
    p.maximized = ini.readBool(section, QStringLiteral("Maximized"), currentlyMaximized);
    // An inverted or empty rectangle is as good as none. Every check is made on the
    // 64-bit edges before any rectangle exists: a size or an edge beyond what a
    // rectangle can hold (far beyond any screen) counts as nothing stored.
    constexpr qint64 kLimit = 1 << 30;
    const auto inRange = [](qint64 v) { return v > -kLimit && v < kLimit; };
    if (e.bottom == 0 || e.right <= e.left || e.bottom <= e.top)
        return p;
    if (!inRange(e.left) || !inRange(e.top) || !inRange(e.right) || !inRange(e.bottom))
        return p;
    if (!available.isValid()) {
        p.stored = true;
        p.rect = QRect(int(e.left), int(e.top), int(e.right - e.left), int(e.bottom - e.top));
        return p;
    }
    p.stored = true;
    p.rect = fitEdgesToScreen(e, available);
    return p;
}

bool SaveFormPlacement(const QString& formClassName, int ppi, const QRect& normalRect, bool maximized)
{
    return SaveFormPlacement(formClassName, ppi, normalRect, maximized, IniFileName());
}

bool SaveFormPlacement(const QString& formClassName, int ppi, const QRect& normalRect, bool maximized,
                       const QString& iniFileName)
{
    IniFile ini;
    if (!ini.load(iniFileName))
        return false;
    const QString section = placementSectionName(formClassName, ppi);
    ini.writeInteger(section, QStringLiteral("Left"), normalRect.x());
    ini.writeInteger(section, QStringLiteral("Top"), normalRect.y());
    // Right and bottom in 64 bits, then held to what the file's integers can carry.
    const auto edge = [](qint64 v) { return int(std::clamp<qint64>(v, INT_MIN, INT_MAX)); };
    ini.writeInteger(section, QStringLiteral("Right"), edge(qint64(normalRect.x()) + normalRect.width()));
    ini.writeInteger(section, QStringLiteral("Bottom"), edge(qint64(normalRect.y()) + normalRect.height()));
    ini.writeBool(section, QStringLiteral("Maximized"), maximized);
    return ini.save();
}

namespace {
QRect availableArea(const QWidget* form)
{
    QScreen* screen = form && form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect normalRectOf(const QWidget* form)
{
    const QRect normal = form->normalGeometry();
    return normal.isValid() ? normal : form->geometry();
}
} // namespace

void LoadFormPlacement(QWidget* form, const QString& formClassName)
{
    if (!form)
        return;
    const TFormPlacement p = LoadFormPlacement(formClassName, ScreenPPI(), availableArea(form), form->isMaximized());
    if (p.stored)
        form->setGeometry(p.rect);
    else
        CenterForm(form);
    // What the form now has, taken before maximising: a window that is not showing yet
    // may not report its normal rectangle once maximised.
    const QRect normal = form->geometry();
    const bool maximized = p.maximized || form->isMaximized();
    if (p.maximized)
        form->setWindowState(form->windowState() | Qt::WindowMaximized);
    SaveFormPlacement(formClassName, ScreenPPI(), normal, maximized);
}

bool SaveFormPlacement(QWidget* form, const QString& formClassName)
{
    if (!form)
        return false;
    return SaveFormPlacement(formClassName, ScreenPPI(), normalRectOf(form), form->isMaximized());
}
