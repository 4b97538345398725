#include "special/floating_palette.h"

#include "platform/path_ignoring_case.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "special/icon_list_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kBonusFolder = QStringLiteral("BonusIcons");
const QString kFallbackLibrary = QStringLiteral("Misc1.icl");

QString noBonusSetsMessage()
{
    return QStringLiteral("No Bonus Sets Found!\n\n"
                          "Bonus icon sets are offered on the Orvanta website. Put the downloaded "
                          ".icl files into the folder \"%1\" in the program folder "
                          "(%2), then start Orvanta again.")
        .arg(kBonusFolder, QDir::toNativeSeparators(ProgramFolder()));
}

// The open dialog's filters. Names on this system keep their case, so every pattern is
// given in capitals and in small letters.
QString iconFileFilter()
{
    const struct {
        const char* label;
        QStringList extensions;
    } filters[] = {
        {"All Files", {"ICL", "DLL", "EXE", "ICO", "NIL"}},
        {"ICL Files", {"ICL"}},
        {"DLL Files", {"DLL"}},
        {"EXE Files", {"EXE"}},
        {"ICO Files", {"ICO"}},
        {"NIL Files", {"NIL"}},
        {"ICL and ICO Files", {"ICL", "ICO"}},
    };
    QStringList result;
    for (const auto& f : filters) {
        QStringList patterns;
        for (const QString& e : f.extensions)
            patterns << QStringLiteral("*.") + e;
        for (const QString& e : f.extensions)
            patterns << QStringLiteral("*.") + e.toLower();
        result << QString::fromLatin1(f.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' '))
                + QLatin1Char(')');
    }
    return result.join(QStringLiteral(";;"));
}

// The caption a menu item stands for (bonus captions may hold '&', escaped in the text).
QString captionOf(const QAction* a) { return a->data().toString(); }

} // namespace

TFloatingPalette::TFloatingPalette(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FloatingPalette"));
    setWindowTitle(QStringLiteral("Icons"));
    setFont(QFont(QStringLiteral("Arial")));
    // Showing the tool must not take the keyboard from the page being edited.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    createMenu();
    layout->setMenuBar(MainMenu);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(DesignedClientWidth, DesignedClientHeight);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    IconListBox = new TIconListBox(Panel1);
    IconListBox->setObjectName(QStringLiteral("IconListBox"));
    QPalette white = IconListBox->palette();
    white.setColor(QPalette::Base, Qt::white);
    IconListBox->setPalette(white);
    panelLayout->addWidget(IconListBox);
    IconListBox->SetXIcons(3);
    IconListBox->SetYIcons(3);
    layout->addWidget(Panel1);
    adjustSize();

    // FormCreate.
    IconListBox->SetFileName(ProgramFile(QStringLiteral("activity.icl")));
    if (QFileInfo(ProgramFile(kBonusFolder)).isDir())
        BuildBonusMenu();
}

QAction* TFloatingPalette::addLibraryItem(QMenu* menu, const QString& caption, const QString& fileName)
{
    QAction* a = menu->addAction(QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    a->setData(caption);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, fileName] { LoadChosenLibrary(ProgramFile(fileName)); });
    return a;
}

void TFloatingPalette::createMenu()
{
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    // The window is too narrow for a native menu bar to be of use elsewhere.
    MainMenu->setNativeMenuBar(false);
    FileMenu = MainMenu->addMenu(QStringLiteral("File"));
    mnuActivitiesICL = addLibraryItem(FileMenu, QStringLiteral("Activities"), QStringLiteral("activity.icl"));
    mnuEventsICL = addLibraryItem(FileMenu, QStringLiteral("Events"), QStringLiteral("events.icl"));
    mnuHolidaysICL = addLibraryItem(FileMenu, QStringLiteral("Holidays"), QStringLiteral("holiday.icl"));
    mnuMisc1ICL = addLibraryItem(FileMenu, QStringLiteral("Miscellaneous #1"), QStringLiteral("misc1.icl"));
    mnuMisc2ICL = addLibraryItem(FileMenu, QStringLiteral("Miscellaneous #2"), QStringLiteral("misc2.icl"));

    // A submenu, or a message where to get bonus libraries: never a library itself.
    mnuBonusIconSets = FileMenu->addAction(QStringLiteral("Bonus Icon Sets"));
    mnuBonusIconSets->setData(QStringLiteral("Bonus Icon Sets"));
    connect(mnuBonusIconSets, &QAction::triggered, this, [] { ShowInformation(noBonusSetsMessage()); });

    mnuOtherIconFile = FileMenu->addAction(QStringLiteral("Other..."));
    mnuOtherIconFile->setData(QStringLiteral("Other..."));
    mnuOtherIconFile->setCheckable(true);
    connect(mnuOtherIconFile, &QAction::triggered, this, &TFloatingPalette::mnuOtherIconFileClick);
}

QString TFloatingPalette::IconSetName(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName().left(64);
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QStringList TFloatingPalette::BonusIconSetNames(const QString& folder)
{
    const QDir dir(folder);
    // Name filters ignore case unless told otherwise: "*.icl" finds "FLAGS.ICL" too.
    const QStringList files = dir.entryList({QStringLiteral("*.icl")}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
    QStringList names;
    for (const QString& file : files)
        names << IconSetName(file);
    const auto lessIgnoringCase = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    };
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
    const auto sameIgnoringCase = [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    names.erase(std::unique(names.begin(), names.end(), sameIgnoringCase), names.end());
    return names;
}

void TFloatingPalette::BuildBonusMenu()
{
    const QStringList names = BonusIconSetNames(ProgramFile(kBonusFolder));
    if (names.isEmpty())
        return;
    // With libraries to offer, the item opens their submenu instead of the message.
    disconnect(mnuBonusIconSets, &QAction::triggered, this, nullptr);
    BonusMenu = new QMenu(this);
    BonusMenu->setObjectName(QStringLiteral("BonusMenu"));
    for (const QString& name : names)
        addLibraryItem(BonusMenu, name, kBonusFolder + QLatin1Char('/') + name + QStringLiteral(".icl"));
    mnuBonusIconSets->setMenu(BonusMenu);
}

void TFloatingPalette::LoadChosenLibrary(const QString& path)
{
    IconListBox->SetFileName(path);
    if (IconListBox->NumberOfIcons() == 0 && !IconListBox->LoadError().isEmpty())
        ReportNoIcons(path);
    SyncMenuChecks(IconListBox->FileName());
}

void TFloatingPalette::ReportNoIcons(const QString& fileName)
{
    QString text = QStringLiteral("No icons found in ") + QDir::toNativeSeparators(fileName);
    // A damaged file says what is wrong with it.
    QString reason = IconListBox->LoadError();
    if (!reason.isEmpty()) {
        reason[0] = reason[0].toUpper();
        text += QLatin1Char('\n') + reason + QLatin1Char('.');
    }
    ShowInformation(text);
}

void TFloatingPalette::mnuOtherIconFileClick()
{
    const QString title = QStringLiteral("Open");
    const QString filter = iconFileFilter();
    QString path = prompter().openFileName(title, ProgramFolder(), filter);
    if (!path.isEmpty()) {
        IconListBox->SetFileName(path);
        while (IconListBox->NumberOfIcons() == 0) {
            ReportNoIcons(IconListBox->FileName());
            path = prompter().openFileName(title, ProgramFolder(), filter);
            if (path.isEmpty())
                break;
            IconListBox->SetFileName(path);
        }
    }
    if (IconListBox->NumberOfIcons() == 0)
        IconListBox->SetFileName(ProgramFile(kFallbackLibrary));
    SyncMenuChecks(IconListBox->FileName());
}

QList<QAction*> TFloatingPalette::LibraryItems() const
{
    QList<QAction*> items = FileMenu->actions();
    if (BonusMenu)
        items += BonusMenu->actions();
    return items;
}

void TFloatingPalette::SetChecks(const QString& fileName)
{
    QString k = IconSetName(fileName).toUpper();
    // The standard libraries' file names and their captions.
    static const QList<std::pair<QString, QString>> captions = {
        {QStringLiteral("ACTIVITY"), QStringLiteral("ACTIVITIES")},
        {QStringLiteral("HOLIDAY"), QStringLiteral("HOLIDAYS")},
        {QStringLiteral("MISC1"), QStringLiteral("MISCELLANEOUS #1")},
        {QStringLiteral("MISC2"), QStringLiteral("MISCELLANEOUS #2")},
    };
    for (const auto& [file, caption] : captions)
        if (k == file)
            k = caption;
    bool checked = false;
    for (QAction* a : LibraryItems()) {
        const bool on = a->isCheckable() && captionOf(a).toUpper() == k;
        a->setChecked(on);
        checked = checked || on;
    }
    if (!checked && QFileInfo(fileName).isFile())
        mnuOtherIconFile->setChecked(true);
}

void TFloatingPalette::SyncMenuChecks(const QString& fileName)
{
    const QString file = FindPathIgnoringCase(fileName);
    SetChecks(file);
    if (QFileInfo(file).isFile() && file.compare(IconListBox->FileName(), Qt::CaseInsensitive) != 0)
        IconListBox->SetFileName(file);
    if (IconListBox->NumberOfIcons() == 0) {
        IconListBox->SetFileName(ProgramFile(kFallbackLibrary));
        // The marks follow the library the list shows now.
        SetChecks(IconListBox->FileName());
    }
}

void TFloatingPalette::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

void TFloatingPalette::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closedByUser();
}
