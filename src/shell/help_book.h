#pragma once
#include <QHash>
#include <QList>
#include <QString>

// The help book: HTML pages in the "help" folder of the program folder, a contents
// page that lists them, and the map from help context numbers to pages.
struct HelpPage {
    QString file; // file name inside the help folder, e.g. "faq.html"
    QString title;
};

// ProgramFolder() + "help/".
QString HelpFolder();

// The page of a context number; the contents page for a number the book does not know.
QString HelpPageForContext(int context);
// Every context number the program uses, with its page, in ascending order.
QList<QPair<int, QString>> HelpContextPages();

inline const QString HelpContentsPage = QStringLiteral("contents.html");

class HelpBook {
public:
    explicit HelpBook(const QString& folder = HelpFolder());

    QString folder() const { return m_folder; }
    // Every page file of the book, sorted.
    QStringList pageFiles() const;
    // The pages the contents page links to, in its order, titled by their link text.
    QList<HelpPage> contents() const;
    // A page's <title>, or its file name when it has none.
    QString title(const QString& file) const;
    // Pages whose text holds every word of the query (case ignored), the page with the
    // most occurrences first, then by title.
    QList<HelpPage> search(const QString& query) const;

private:
    struct Loaded {
        QString title;
        QString text; // plain text, lower case
    };
    const Loaded& page(const QString& file) const;

    QString m_folder;
    mutable QHash<QString, Loaded> m_pages;
};
