#include "super_text_symbol.h"

#include "platform/help_contexts.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "stream/win1252.h"
#include "widgets/dialog_buttons.h"
#include "widgets/dialog_help.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 15;
constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;

TInstalledFontSource& fontSource()
{
    static TInstalledFontSource source;
    return source;
}

bool namedLikeSymbols(const QString& family)
{
    static const char* const kWords[] = {"symbol", "dingbat", "wingding", "webding", "D050000L"};
    for (const char* w : kWords)
        if (family.contains(QLatin1String(w), Qt::CaseInsensitive))
            return true;
    return false;
}
} // namespace

QList<TInstalledFont> InstalledFonts()
{
    if (fontSource())
        return fontSource()();
    QList<TInstalledFont> fonts;
    for (const QString& listed : QFontDatabase::families()) {
        // A family that several foundries make is listed once per foundry ("Name [URW]");
        // documents store the bare name.
        const QString family = listed.section(QStringLiteral(" ["), 0, 0);
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(listed);
        const bool onlySymbols = systems.size() == 1 && systems.first() == QFontDatabase::Symbol;
        fonts.append({family, QFontDatabase::isScalable(listed), onlySymbols || namedLikeSymbols(family)});
    }
    return fonts;
}

void setInstalledFontSource(TInstalledFontSource source) { fontSource() = std::move(source); }

QString TSuperTextGetSymbol::CharacterOfCode(int code) { return fromWin1252(QByteArray(1, char(code))); }

TSuperTextGetSymbol::TSuperTextGetSymbol(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SuperTextGetSymbol"));
    setWindowTitle(QStringLiteral("Symbol Selector"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    SymbolSets = new QComboBox(this);
    SymbolSets->setObjectName(QStringLiteral("SymbolSets"));
    SymbolSets->setToolTip(QStringLiteral("Select a symbol font set"));
    auto* fontCaption = new QLabel(QStringLiteral("&Font"), this);
    fontCaption->setBuddy(SymbolSets);

    const int rows = (kLastCode - kFirstCode + kColumns) / kColumns;
    SymbolList = new QTableWidget(rows, kColumns, this);
    SymbolList->setObjectName(QStringLiteral("SymbolList"));
    SymbolList->horizontalHeader()->hide();
    SymbolList->verticalHeader()->hide();
    SymbolList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SymbolList->setSelectionMode(QAbstractItemView::SingleSelection);
    SymbolList->verticalHeader()->setDefaultSectionSize(26);
    SymbolList->horizontalHeader()->setDefaultSectionSize(30);
    SymbolList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        auto* item = new QTableWidgetItem(CharacterOfCode(code));
        item->setTextAlignment(Qt::AlignCenter);
        item->setData(Qt::UserRole, code);
        SymbolList->setItem((code - kFirstCode) / kColumns, (code - kFirstCode) % kColumns, item);
    }
    SymbolList->setMinimumSize(kColumns * 30 + 4 + SymbolList->verticalScrollBar()->sizeHint().width(), 8 * 26);

    const DialogButtons buttons = createDialogButtons(this, true, {QStringLiteral("OKButton"), QStringLiteral("CancelButton"), QStringLiteral("HelpButton")});
    OKButton = buttons.ok;
    OKButton->setToolTip(QStringLiteral("Copy the selected symbol to the label"));
    CancelButton = buttons.cancel;

    auto* outer = new QVBoxLayout(this);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontCaption);
    fontRow->addWidget(SymbolSets, 1);
    outer->addLayout(fontRow);
    outer->addWidget(SymbolList, 1);
    outer->addLayout(buttons.row);

    connect(SymbolSets, &QComboBox::currentIndexChanged, this, &TSuperTextGetSymbol::selectFont);
    connect(SymbolList, &QTableWidget::cellClicked, this, &TSuperTextGetSymbol::choose);
    connect(SymbolList, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        choose(row, column);
        okClick();
    });
    connect(OKButton, &QPushButton::clicked, this, &TSuperTextGetSymbol::okClick);
    attachHelp(this, HelpContexts::SymbolSelector, buttons.help);
    CenterForm(this);
}

bool TSuperTextGetSymbol::Prepare()
{
    HourglassOn();
    QStringList families;
    const QList<TInstalledFont> fonts = InstalledFonts();
    for (auto it = fonts.crbegin(); it != fonts.crend(); ++it)
        if (it->trueType && it->symbolCharset && !families.contains(it->family))
            families << it->family;
    families.sort(Qt::CaseInsensitive);
    SymbolSets->blockSignals(true);
    SymbolSets->clear();
    SymbolSets->addItems(families);
    SymbolSets->blockSignals(false);
    if (families.isEmpty()) {
        HourglassOff();
        prompter().information(QStringLiteral("No Symbol fonts installed"), QApplication::applicationName());
        return false;
    }
    int first = 0;
    for (int i = 0; i < families.size(); ++i)
        if (families[i].toUpper().contains(QLatin1String("WINGDING"))) {
            first = i;
            break;
        }
    SymbolSets->setCurrentIndex(first);
    selectFont(first);
    choose(0, 0);
    HourglassOff();
    return true;
}

void TSuperTextGetSymbol::selectFont(int index)
{
    if (index < 0)
        return;
    QFont f(SymbolSets->itemText(index));
    f.setPixelSize(24);
    SymbolList->setFont(f);
}

void TSuperTextGetSymbol::choose(int row, int column)
{
    const QTableWidgetItem* item = SymbolList->item(row, column);
    if (!item)
        return;
    SymbolList->setCurrentCell(row, column);
    m_symbol = item->text();
}

QString TSuperTextGetSymbol::SymbolFontName() const { return SymbolSets->currentText(); }

void TSuperTextGetSymbol::okClick()
{
    if (!m_symbol.isEmpty() || !SymbolSets->currentText().isEmpty())
        accept();
}
