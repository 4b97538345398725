#pragma once
#include <QAction>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>


// A recent-files menu entry; it knows its place in the list (1..n).
class TMRUMenuItem : public QAction {
public:
    TMRUMenuItem(int entryNumber, const QString& text, QObject* parent)
        : QAction(text, parent), m_entryNumber(entryNumber)
    {
    }
    int EntryNumber() const { return m_entryNumber; }

private:
    int m_entryNumber;
};

// The list of recently used files, most recent first, with its menu entries
// ("&1 path", "&2 path", ...) placed after a separator at the end of the file menu,
// or after a given action of it. Kept in the initialisation file under
// AutoSaveKey as "F0", "F1", ...
class TMRUFileList : public QObject {
    Q_OBJECT
public:
    explicit TMRUFileList(QObject* parent = nullptr);
    ~TMRUFileList() override;

    // Most entries kept (0..255, default 5). Lowering it drops the entries beyond.
    int Maximum() const { return m_maximum; }
    void SetMaximum(int maximum);

    // A clicked entry leaves the list before OnMRUItemClick runs (default true); a
    // successful open adds it again at the first place.
    bool RemoveOnClick() const { return m_removeOnClick; }
    void SetRemoveOnClick(bool on) { m_removeOnClick = on; }

    // Entries in a submenu named SubmenuName (default "Reopen") instead of the menu itself.
    bool UseSubmenu() const { return m_useSubmenu; }
    void SetUseSubmenu(bool on);
    QString SubmenuName() const { return m_submenuName; }
    void SetSubmenuName(const QString& name);

    // The menu the entries go into; they follow `after` when it is one of the menu's
    // actions, else they go at the end. The entries of a previous menu are removed.
    QMenu* FileMenu() const { return m_fileMenu; }
    void SetFileMenu(QMenu* menu, QAction* after = nullptr);

    // Called with the path of a clicked entry.
    std::function<void(const QString& path)> OnMRUItemClick;

    // Where Load and Save keep the list: an initialisation file and a section. Both
    // must be set for either to do anything. AutoSave saves when the list is destroyed.
    QString AutoSaveName() const { return m_autoSaveName; }
    void SetAutoSaveName(const QString& iniFileName) { m_autoSaveName = iniFileName; }
    QString AutoSaveKey() const { return m_autoSaveKey; }
    void SetAutoSaveKey(const QString& section) { m_autoSaveKey = section; }
    bool AutoSave() const { return m_autoSave; }
    void SetAutoSave(bool on) { m_autoSave = on; }

    const QStringList& Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    // "&" + number + " " + path, numbers from 1.
    static QString Caption(int entryNumber, const QString& path);
    QStringList Captions() const;

    // Puts path first; an entry that differs only in case is moved there (taking the
    // new spelling) instead of being added twice. Drops entries beyond Maximum.
    void AddFile(const QString& path);
    // Removes the entry, compared without regard to case; false when it was not there.
    bool RemoveFile(const QString& path);
    void Clear();

    // Reads every entry of the section (the text after the first "="), then rebuilds
    // the menu. False when the file exists but cannot be read.
    bool Load();
    // Erases the section and writes entry i under "F" + i. False (errorString()) when
    // the file cannot be written; an unreadable existing file is left alone.
    bool Save();
    QString errorString() const { return m_error; }

    // Takes the entries out of the menu and, when the list is not empty, adds a
    // separator and one TMRUMenuItem per entry.
    void RebuildMenu();
    // What clicking entry n (1..Count()) does; the menu items call it.
    void ItemClicked(int entryNumber);

private:
    void removeMenuEntries();
    void trim();

    QStringList m_items;
    int m_maximum = 5;
    bool m_removeOnClick = true;
    bool m_useSubmenu = false;
    QString m_submenuName = QStringLiteral("Reopen");
    bool m_autoSave = true;
    QString m_autoSaveName;
    QString m_autoSaveKey = QStringLiteral("MRU Items");
    QString m_error;

    QPointer<QMenu> m_fileMenu;
    QPointer<QAction> m_after;
    QList<QPointer<QAction>> m_added; // separator, entries or the submenu's action
    QPointer<QMenu> m_submenu;
};

// The message shown when a recent file is gone: "File " + path + " no longer exists".
QString FileNoLongerExistsText(const QString& path);
