#pragma once
#include "shell/help_book.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QUrl;

// The help window: the book's contents and a search on the left, the page on the
// right, with Back, Forward and Contents buttons. One window serves every request.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& folder = HelpFolder(), QWidget* parent = nullptr);

    // Shows the page and brings the window forward. While a modal dialog runs, the
    // window is shown modal itself so that it can be read and closed.
    void showPage(const QString& file);
    void showContext(int context);
    // The page file shown now.
    QString currentPage() const;
    // Runs a search as typed into the search field.
    void search(const QString& query);

    QTextBrowser* browser() const { return m_browser; }
    QListWidget* contentsList() const { return m_contents; }
    QListWidget* searchResults() const { return m_results; }

private:
    void openLink(const QUrl& url);
    void pageChanged(const QUrl& url);
    void present();

    HelpBook m_book;
    QTabWidget* m_tabs = nullptr;
    QListWidget* m_contents = nullptr;
    QLineEdit* m_searchText = nullptr;
    QListWidget* m_results = nullptr;
    QTextBrowser* m_browser = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};
