#include "prompter.h"

#include "font_choice.h"
#include "shell_helpers.h"
#include "win_color.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {
std::unique_ptr<Prompter>& current()
{
    static std::unique_ptr<Prompter> p = std::make_unique<QtPrompter>();
    return p;
}

QWidget* parentWidget() { return QApplication::activeWindow(); }

template <typename T>
T takeFront(std::vector<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T v = queue.front();
    queue.erase(queue.begin());
    return v;
}
} // namespace

Prompter& prompter() { return *current(); }

std::unique_ptr<Prompter> setPrompter(std::unique_ptr<Prompter> p)
{
    auto previous = std::move(current());
    current() = p ? std::move(p) : std::make_unique<QtPrompter>();
    return previous;
}

QString WithDefaultExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

QString ReplaceFileQuestion(const QString& path)
{
    return QFileInfo(path).fileName() + QStringLiteral(" already exists.\nDo you want to replace it?");
}

QString Prompter::saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                               const QString& filter, const QString& defaultExtension)
{
    QString startFolder = folder;
    QString proposed = proposedName;
    for (;;) {
        const QString typed = askSaveFileName(title, startFolder, proposed, filter, defaultExtension);
        if (typed.isEmpty())
            return typed;
        const QString path = WithDefaultExtension(typed, defaultExtension);
        // A dialog that checked only the name as typed never asked about this file.
        if (path == typed || !QFileInfo::exists(path) || askYesNo(ReplaceFileQuestion(path), title))
            return path;
        startFolder = QFileInfo(path).absolutePath();
        proposed = QFileInfo(path).fileName();
    }
}

namespace {

// A message box at least as wide as its caption needs, so the title bar never cuts it.
int showMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                   QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parentWidget());
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(CaptionWidth(caption), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box.exec();
}
} // namespace

void QtPrompter::information(const QString& text, const QString& caption)
{
    showMessageBox(QMessageBox::Information, caption, text, QMessageBox::Ok);
}

bool QtPrompter::askYesNo(const QString& text, const QString& caption)
{
    return showMessageBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void QtPrompter::warning(const QString& text, const QString& caption)
{
    showMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Ok);
}

void QtPrompter::error(const QString& text, const QString& caption)
{
    showMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok);
}

QString QtPrompter::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parentWidget(), title, folder, filter);
}

QString QtPrompter::askSaveFileName(const QString& title, const QString& folder, const QString& proposedName,
                                    const QString& filter, const QString& defaultExtension)
{
    QString start = folder;
    if (!proposedName.isEmpty())
        start = folder.endsWith(QLatin1Char('/')) ? folder + proposedName : folder + QLatin1Char('/') + proposedName;
    QFileDialog dialog(parentWidget(), title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds the extension itself, so its own replace question sees the
    // name that will be written.
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

std::optional<QColor> QtPrompter::chooseColor(const QColor& initial, const QString& title)
{
    const QColor c = QColorDialog::getColor(initial, parentWidget(), title);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

int QtPrompter::execDialog(QDialog& dialog) { return dialog.exec(); }

namespace {
// Shows the stored family name in the dialog's family box while the list sits on the
// face that draws it; picking another family replaces the text as usual.
void showStoredFamily(QFontDialog& dialog, const QString& drawn, const QString& stored)
{
    if (stored.isEmpty() || stored == drawn)
        return;
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
        if (edit->isReadOnly() && edit->text().startsWith(drawn)) {
            edit->setText(stored);
            return;
        }
}

// The font dialog's "Color" list: the 16 basic colours (and the initial colour when it
// is none of them), placed with the dialog's effects.
QComboBox* addColorList(QFontDialog& dialog, const QColor& initial)
{
    auto* list = new QComboBox(&dialog);
    list->setObjectName(QStringLiteral("FontColorList"));
    for (const TBasicColor& c : BasicColors())
        list->addItem(ColorSwatch(c.color), QString::fromLatin1(c.name), c.color);
    int index = -1;
    for (int i = list->count() - 1; i >= 0 && index < 0; --i)
        if (list->itemData(i).value<QColor>().rgb() == initial.rgb())
            index = i;
    if (index < 0 && initial.isValid()) {
        list->addItem(ColorSwatch(initial), QStringLiteral("Custom"), initial);
        index = list->count() - 1;
    }
    list->setCurrentIndex(std::max(index, 0));
    auto* label = new QLabel(QStringLiteral("&Color:"), &dialog);
    label->setBuddy(list);
    QGroupBox* effects = dialog.findChild<QGroupBox*>();
    QLayout* layout = effects && effects->layout() ? effects->layout() : dialog.layout();
    layout->addWidget(label);
    layout->addWidget(list);
    return list;
}
} // namespace

std::optional<QFont> QtPrompter::chooseFont(const QFont& initial, const QString& title, QColor* color)
{
    QFontDialog dialog(parentWidget());
    dialog.setOption(QFontDialog::DontUseNativeDialog); // the colour list lives in this dialog
    dialog.setWindowTitle(title);
    // A family the machine lacks is not in the dialog's list: opening on it would fall
    // back to some other family and lose the style, so open on the face that is drawn.
    QFont shown = initial;
    shown.setFamily(DrawnFontFamily(initial.family()));
    dialog.setCurrentFont(shown);
    showStoredFamily(dialog, shown.family(), initial.family());
    QComboBox* colors = color ? addColorList(dialog, *color) : nullptr;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (colors)
        *color = colors->currentData().value<QColor>();
    return dialog.selectedFont();
}

bool QtPrompter::printDialog(QPrinter& printer, const QString& title)
{
    QPrintDialog dialog(&printer, parentWidget());
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void ScriptedPrompter::information(const QString& text, const QString& caption)
{
    records.push_back({QStringLiteral("information"), text, caption, {}});
}

bool ScriptedPrompter::askYesNo(const QString& text, const QString& caption)
{
    records.push_back({QStringLiteral("yesno"), text, caption, {}});
    return takeFront(yesNoAnswers, false);
}

void ScriptedPrompter::warning(const QString& text, const QString& caption)
{
    records.push_back({QStringLiteral("warning"), text, caption, {}});
}

void ScriptedPrompter::error(const QString& text, const QString& caption)
{
    records.push_back({QStringLiteral("error"), text, caption, {}});
}

QString ScriptedPrompter::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    records.push_back({QStringLiteral("open"), title, folder, filter});
    return takeFront(fileAnswers, QString());
}

QString ScriptedPrompter::askSaveFileName(const QString& title, const QString&, const QString& proposedName,
                                          const QString& filter, const QString& defaultExtension)
{
    records.push_back({QStringLiteral("save"), title, proposedName, filter + QLatin1Char('|') + defaultExtension});
    return takeFront(fileAnswers, QString());
}

std::optional<QColor> ScriptedPrompter::chooseColor(const QColor&, const QString& title)
{
    records.push_back({QStringLiteral("color"), title, {}, {}});
    return takeFront(colorAnswers, std::optional<QColor>());
}

std::optional<QFont> ScriptedPrompter::chooseFont(const QFont& initial, const QString& title, QColor* color)
{
    records.push_back({QStringLiteral("font"), title, initial.family(), {}});
    fontsShown.push_back(initial);
    std::optional<QFont> answer = takeFront(fontAnswers, std::optional<QFont>());
    if (answer && color && !fontColorAnswers.empty())
        *color = takeFront(fontColorAnswers, *color);
    return answer;
}

bool ScriptedPrompter::printDialog(QPrinter& printer, const QString& title)
{
    records.push_back({QStringLiteral("print"), title, printer.printerName(), {}});
    const auto choice = takeFront(printAnswers, std::optional<PrintChoice>());
    if (!choice)
        return false;
    if (!choice->printerName.isEmpty())
        printer.setPrinterName(choice->printerName);
    printer.setCopyCount(choice->copies);
    return true;
}

int ScriptedPrompter::execDialog(QDialog& dialog)
{
    records.push_back({QStringLiteral("dialog"), dialog.windowTitle(), {}, {}});
    const auto answer = takeFront(dialogAnswers, std::function<int(QDialog&)>());
    return answer ? answer(dialog) : int(QDialog::Rejected);
}

QStringList ScriptedPrompter::texts(const QString& kind) const
{
    QStringList out;
    for (const auto& r : records)
        if (kind.isEmpty() || r.kind == kind)
            out << r.text;
    return out;
}

ScopedScriptedPrompter::ScopedScriptedPrompter()
{
    auto p = std::make_unique<ScriptedPrompter>();
    m_p = p.get();
    m_previous = setPrompter(std::move(p));
}

ScopedScriptedPrompter::~ScopedScriptedPrompter() { setPrompter(std::move(m_previous)); }
