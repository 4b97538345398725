#pragma once
// The small "Icons" window floating above the main window: one icon library at a time,
// chosen from its File menu, from which icons are dragged into day cells.
#include <QStringList>
#include <QWidget>

class QAction;
class QFrame;
class QMenu;
class QMenuBar;
class TIconListBox;

class TFloatingPalette : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignedClientWidth = 140;
    static constexpr int DesignedClientHeight = 140;

    // Loads "activity.icl" and lists the bonus libraries of the program folder.
    explicit TFloatingPalette(QWidget* parent = nullptr);

    QMenuBar* MainMenu = nullptr;
    QMenu* FileMenu = nullptr;
    QAction* mnuActivitiesICL = nullptr;
    QAction* mnuEventsICL = nullptr;
    QAction* mnuHolidaysICL = nullptr;
    QAction* mnuMisc1ICL = nullptr;
    QAction* mnuMisc2ICL = nullptr;
    QAction* mnuBonusIconSets = nullptr; // a submenu when bonus libraries exist
    QAction* mnuOtherIconFile = nullptr;
    QMenu* BonusMenu = nullptr; // null when there are none
    QFrame* Panel1 = nullptr;
    TIconListBox* IconListBox = nullptr;

    // Checks the menu item that names the file (or "Other..." for any other existing
    // file) and loads it when the list shows another one; a list left without icons
    // falls back to "Misc1.icl".
    void SyncMenuChecks(const QString& fileName);
    // "Other...": asks for any file with icons until one has some or the user gives up.
    void mnuOtherIconFileClick();

    // A library's name as its menu item shows it: the file name (at most 64 characters
    // of it) cut before its first '.'.
    static QString IconSetName(const QString& fileName);
    // The bonus libraries of a folder: their names sorted ignoring case, each once.
    static QStringList BonusIconSetNames(const QString& folder);

signals:
    // The window was hidden: the main window's Show/Hide caption follows.
    void hidden();
    // The user closed the window through the window system rather than the main
    // window's button.
    void closedByUser();

protected:
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenu();
    void BuildBonusMenu();
    QAction* addLibraryItem(QMenu* menu, const QString& caption, const QString& fileName);
    // Loads a library the user chose from the menu, reporting a damaged one.
    void LoadChosenLibrary(const QString& path);
    void ReportNoIcons(const QString& fileName);
    void SetChecks(const QString& fileName);
    QList<QAction*> LibraryItems() const;
};
