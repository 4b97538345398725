#include "mru_file_list.h"

#include "platform/ini_file.h"

#include <QMenu>

#include <algorithm>

TMRUFileList::TMRUFileList(QObject* parent) : QObject(parent) {}

TMRUFileList::~TMRUFileList()
{
    if (m_autoSave)
        Save();
    removeMenuEntries();
}

void TMRUFileList::SetMaximum(int maximum)
{
    maximum = std::clamp(maximum, 0, 255);
    if (maximum == m_maximum)
        return;
    m_maximum = maximum;
    if (m_items.size() > m_maximum) {
        trim();
        RebuildMenu();
    }
}

void TMRUFileList::SetUseSubmenu(bool on)
{
    if (on == m_useSubmenu)
        return;
    m_useSubmenu = on;
    RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const QString& name)
{
    if (name == m_submenuName)
        return;
    m_submenuName = name;
    if (m_useSubmenu)
        RebuildMenu();
}

void TMRUFileList::SetFileMenu(QMenu* menu, QAction* after)
{
    removeMenuEntries();
    m_fileMenu = menu;
    m_after = after;
    RebuildMenu();
}

QString TMRUFileList::Caption(int entryNumber, const QString& path)
{
    return QLatin1Char('&') + QString::number(entryNumber) + QLatin1Char(' ') + path;
}

QStringList TMRUFileList::Captions() const
{
    QStringList out;
    for (int i = 0; i < m_items.size(); ++i)
        out << Caption(i + 1, m_items[i]);
    return out;
}

void TMRUFileList::trim()
{
    while (m_items.size() > m_maximum)
        m_items.removeLast();
}

void TMRUFileList::AddFile(const QString& path)
{
    if (path.isEmpty())
        return;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].compare(path, Qt::CaseInsensitive) == 0) {
            m_items.removeAt(i);
            break;
        }
    }
    m_items.prepend(path);
    trim();
    RebuildMenu();
}

bool TMRUFileList::RemoveFile(const QString& path)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].compare(path, Qt::CaseInsensitive) == 0) {
            m_items.removeAt(i);
            RebuildMenu();
            return true;
        }
    }
    return false;
}

void TMRUFileList::Clear()
{
    m_items.clear();
    RebuildMenu();
}

bool TMRUFileList::Load()
{
    m_error.clear();
    if (m_autoSaveName.isEmpty() || m_autoSaveKey.isEmpty())
        return true;
    IniFile ini;
    const bool ok = ini.load(m_autoSaveName);
    if (!ok)
        m_error = ini.errorString();
    m_items.clear();
    for (const auto& [key, value] : ini.sectionValues(m_autoSaveKey)) {
        // An empty entry names no file; more entries than the menu holds are dropped.
        if (value.isEmpty())
            continue;
        if (m_items.size() >= m_maximum)
            break;
        m_items << value;
    }
    RebuildMenu();
    return ok;
}

bool TMRUFileList::Save()
{
    m_error.clear();
    if (m_autoSaveName.isEmpty() || m_autoSaveKey.isEmpty())
        return true;
    IniFile ini;
    if (!ini.load(m_autoSaveName)) {
        m_error = ini.errorString();
        return false;
    }
    ini.eraseSection(m_autoSaveKey);
    for (int i = 0; i < m_items.size(); ++i)
        ini.writeString(m_autoSaveKey, QLatin1Char('F') + QString::number(i), m_items[i]);
    if (!ini.save()) {
        m_error = ini.errorString();
        return false;
    }
    return true;
}

void TMRUFileList::removeMenuEntries()
{
    // Deleted later: the entry being clicked is still delivering its signal.
    for (const QPointer<QAction>& a : std::as_const(m_added)) {
        if (!a)
            continue;
        if (m_fileMenu)
            m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_added.clear();
    if (m_submenu) {
        m_submenu->deleteLater();
        m_submenu = nullptr;
    }
}

void TMRUFileList::RebuildMenu()
{
    removeMenuEntries();
    if (!m_fileMenu || m_items.isEmpty())
        return;

    // The entries go right after the anchor action, or at the end.
    QAction* before = nullptr;
    if (m_after) {
        const QList<QAction*> actions = m_fileMenu->actions();
        const qsizetype at = actions.indexOf(m_after.data());
        if (at >= 0 && at + 1 < actions.size())
            before = actions[at + 1];
    }
    auto place = [&](QAction* a) {
        m_fileMenu->insertAction(before, a); // appends when before is null
        m_added << a;
    };

    auto* separator = new QAction(m_fileMenu);
    separator->setSeparator(true);
    place(separator);

    QMenu* target = m_fileMenu;
    if (m_useSubmenu) {
        m_submenu = new QMenu(m_submenuName, m_fileMenu);
        place(m_submenu->menuAction());
        target = m_submenu;
    }
    for (int i = 0; i < m_items.size(); ++i) {
        auto* item = new TMRUMenuItem(i + 1, Caption(i + 1, m_items[i]), target);
        const int number = i + 1;
        connect(item, &QAction::triggered, this, [this, number] { ItemClicked(number); });
        if (target == m_fileMenu)
            place(item);
        else
            target->addAction(item);
    }
}

void TMRUFileList::ItemClicked(int entryNumber)
{
    if (entryNumber < 1 || entryNumber > m_items.size())
        return;
    const QString path = m_items[entryNumber - 1];
    if (m_removeOnClick) {
        m_items.removeAt(entryNumber - 1);
        RebuildMenu();
    }
    if (OnMRUItemClick)
        OnMRUItemClick(path);
}

QString FileNoLongerExistsText(const QString& path)
{
    return QStringLiteral("File ") + path + QStringLiteral(" no longer exists");
}
