#include "help_book.h"

#include "platform/help_contexts.h"
#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>

namespace {

// The one place that ties numbers to pages.
const QList<QPair<int, QString>>& contextMap()
{
    using namespace HelpContexts;
    static const QList<QPair<int, QString>> map = {
        {Contents, HelpContentsPage},
        {FrequentlyAskedQuestions, QStringLiteral("faq.html")},
        {TechnicalSupport, QStringLiteral("technical_support.html")},
        {PropertiesLayout, QStringLiteral("properties_layout.html")},
        {PropertiesDate, QStringLiteral("properties_date.html")},
        {PropertiesFontsColors, QStringLiteral("properties_fonts_colors.html")},
        {PropertiesMiniFontsColors, QStringLiteral("properties_mini_fonts_colors.html")},
        {PropertiesHeaders, QStringLiteral("properties_headers.html")},
        {PropertiesLines, QStringLiteral("properties_lines.html")},
        {PropertiesPlanners, QStringLiteral("properties_planners.html")},
        {PropertiesLanguage, QStringLiteral("properties_language.html")},
        {PropertiesMargins, QStringLiteral("properties_margins.html")},
        {PropertiesBorders, QStringLiteral("properties_borders.html")},
        {LoadImageFile, QStringLiteral("load_image_file.html")},
        {LabelText, QStringLiteral("label_text_dialog.html")},
        {Text3DEffects, QStringLiteral("text_3d_effects.html")},
        {LoadTextureImage, QStringLiteral("load_texture_image.html")},
        {RichTextEditor, QStringLiteral("rich_text_editor.html")},
        {SuperTextProperties, QStringLiteral("supertext_properties.html")},
        {FloatingCalendarProperties, QStringLiteral("floating_calendar_properties.html")},
        {MainWindow, QStringLiteral("main_window.html")},
        {UserDefinedTitle, QStringLiteral("cmd_user_title.html")},
        {RecurringDates, QStringLiteral("recurring_dates_dialog.html")},
        {RecurringDateFormula, QStringLiteral("recurring_date_formula.html")},
        {Holidays, QStringLiteral("holidays_dialog.html")},
        {SelectRecurringDates, QStringLiteral("select_recurring_dates.html")},
        {SetTime, QStringLiteral("set_time_dialog.html")},
        {ConfigurationInformation, QStringLiteral("configuration_information.html")},
        {About, QStringLiteral("cmd_about.html")},
        {QuickTips, QStringLiteral("quick_tips.html")},
        {SymbolSelector, QStringLiteral("symbol_selector.html")},
        {IconTool, QStringLiteral("icon_tool.html")},
        {StyleSheets, QStringLiteral("style_sheets.html")},
    };
    return map;
}

QString readText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(4 * 1024 * 1024)); // our pages are small
}

QString htmlToPlain(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

} // namespace

QString HelpFolder() { return ProgramFolder() + QStringLiteral("help/"); }

QString HelpPageForContext(int context)
{
    for (const auto& [number, page] : contextMap())
        if (number == context)
            return page;
    return HelpContentsPage;
}

QList<QPair<int, QString>> HelpContextPages()
{
    QList<QPair<int, QString>> sorted = contextMap();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

HelpBook::HelpBook(const QString& folder) : m_folder(folder)
{
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

QStringList HelpBook::pageFiles() const
{
    return QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QList<HelpPage> HelpBook::contents() const
{
    // Links of the contents page in document order; each page once.
    static const QRegularExpression link(QStringLiteral(R"re(<a\s+href="([^"#:]+\.html)"\s*>(.*?)</a>)re"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    QList<HelpPage> pages;
    QStringList seen;
    const QString html = readText(m_folder + HelpContentsPage);
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (seen.contains(m.captured(1)))
            continue;
        seen << m.captured(1);
        pages.append({m.captured(1), htmlToPlain(m.captured(2)).simplified()});
    }
    return pages;
}

const HelpBook::Loaded& HelpBook::page(const QString& file) const
{
    auto it = m_pages.find(file);
    if (it != m_pages.end())
        return *it;
    static const QRegularExpression titleTag(QStringLiteral("<title>(.*?)</title>"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::DotMatchesEverythingOption);
    const QString html = readText(m_folder + file);
    Loaded loaded;
    loaded.title = htmlToPlain(titleTag.match(html).captured(1)).simplified();
    if (loaded.title.isEmpty())
        loaded.title = file;
    loaded.text = htmlToPlain(html).toLower();
    return *m_pages.insert(file, loaded);
}

QString HelpBook::title(const QString& file) const { return page(file).title; }

QList<HelpPage> HelpBook::search(const QString& query) const
{
    const QStringList words = query.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    struct Hit {
        HelpPage page;
        int count;
    };
    QList<Hit> hits;
    for (const QString& file : pageFiles()) {
        const Loaded& p = page(file);
        int count = 0;
        bool all = true;
        for (const QString& w : words) {
            const int n = int(p.text.count(w)) + int(p.title.toLower().count(w)) * 5;
            if (n == 0) {
                all = false;
                break;
            }
            count += n;
        }
        if (all)
            hits.append({{file, p.title}, count});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.page.title.localeAwareCompare(b.page.title) < 0;
    });
    QList<HelpPage> out;
    for (const Hit& h : hits)
        out.append(h.page);
    return out;
}
