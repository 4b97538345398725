#include "prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

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

void QtPrompter::information(const QString& text, const QString& caption)
{
    QMessageBox::information(parentWidget(), caption, text);
}

bool QtPrompter::askYesNo(const QString& text, const QString& caption)
{
    return QMessageBox::question(parentWidget(), caption, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void QtPrompter::warning(const QString& text, const QString& caption)
{
    QMessageBox::warning(parentWidget(), caption, text);
}

void QtPrompter::error(const QString& text, const QString& caption)
{
    QMessageBox::critical(parentWidget(), caption, text);
}

QString QtPrompter::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parentWidget(), title, folder, filter);
}

QString QtPrompter::saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                                 const QString& filter)
{
    QString start = folder;
    if (!proposedName.isEmpty())
        start = folder.endsWith(QLatin1Char('/')) ? folder + proposedName : folder + QLatin1Char('/') + proposedName;
    return QFileDialog::getSaveFileName(parentWidget(), title, start, filter);
}

std::optional<QColor> QtPrompter::chooseColor(const QColor& initial, const QString& title)
{
    const QColor c = QColorDialog::getColor(initial, parentWidget(), title);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

int QtPrompter::execDialog(QDialog& dialog) { return dialog.exec(); }

std::optional<QFont> QtPrompter::chooseFont(const QFont& initial, const QString& title)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parentWidget(), title);
    if (!ok)
        return std::nullopt;
    return f;
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

QString ScriptedPrompter::saveFileName(const QString& title, const QString&, const QString& proposedName,
                                       const QString& filter)
{
    records.push_back({QStringLiteral("save"), title, proposedName, filter});
    return takeFront(fileAnswers, QString());
}

std::optional<QColor> ScriptedPrompter::chooseColor(const QColor&, const QString& title)
{
    records.push_back({QStringLiteral("color"), title, {}, {}});
    return takeFront(colorAnswers, std::optional<QColor>());
}

std::optional<QFont> ScriptedPrompter::chooseFont(const QFont&, const QString& title)
{
    records.push_back({QStringLiteral("font"), title, {}, {}});
    return takeFront(fontAnswers, std::optional<QFont>());
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
