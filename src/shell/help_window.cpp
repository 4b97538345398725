#include "help_window.h"

#include "shell/web_link.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton* barButton(QWidget* parent, const QString& text, QStyle::StandardPixmap icon, const QString& name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

QListWidgetItem* pageItem(const HelpPage& page)
{
    auto* item = new QListWidgetItem(page.title);
    item->setData(Qt::UserRole, page.file);
    return item;
}
} // namespace

HelpWindow::HelpWindow(const QString& folder, QWidget* parent) : QWidget(parent, Qt::Window), m_book(folder)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orvanta Help"));

    auto* bar = new QHBoxLayout;
    m_back = barButton(this, QStringLiteral("Back"), QStyle::SP_ArrowBack, QStringLiteral("BackButton"));
    m_forward = barButton(this, QStringLiteral("Forward"), QStyle::SP_ArrowForward, QStringLiteral("ForwardButton"));
    QToolButton* home = barButton(this, QStringLiteral("Contents"), QStyle::SP_DirHomeIcon, QStringLiteral("ContentsButton"));
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(home);
    bar->addStretch(1);

    m_contents = new QListWidget(this);
    m_contents->setObjectName(QStringLiteral("ContentsList"));
    for (const HelpPage& page : m_book.contents())
        m_contents->addItem(pageItem(page));

    auto* searchPane = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPane);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Words to find:"), searchPane));
    auto* searchRow = new QHBoxLayout;
    m_searchText = new QLineEdit(searchPane);
    m_searchText->setObjectName(QStringLiteral("SearchText"));
    auto* find = new QPushButton(QStringLiteral("Find"), searchPane);
    find->setObjectName(QStringLiteral("FindButton"));
    searchRow->addWidget(m_searchText, 1);
    searchRow->addWidget(find);
    searchLayout->addLayout(searchRow);
    m_results = new QListWidget(searchPane);
    m_results->setObjectName(QStringLiteral("SearchResults"));
    searchLayout->addWidget(m_results, 1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("HelpTabs"));
    m_tabs->addTab(m_contents, QStringLiteral("Contents"));
    m_tabs->addTab(searchPane, QStringLiteral("Search"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(false);
    m_browser->setSearchPaths({m_book.folder()});
    QFile css(m_book.folder() + QStringLiteral("help.css"));
    if (css.open(QIODevice::ReadOnly))
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 620});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    resize(900, 640);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { showPage(HelpContentsPage); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::openLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::pageChanged);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    auto openItem = [this](QListWidgetItem* item) {
        if (item)
            m_browser->setSource(QUrl::fromLocalFile(m_book.folder() + item->data(Qt::UserRole).toString()));
    };
    connect(m_contents, &QListWidget::itemActivated, this, openItem);
    connect(m_contents, &QListWidget::itemClicked, this, openItem);
    connect(m_results, &QListWidget::itemActivated, this, openItem);
    connect(m_results, &QListWidget::itemClicked, this, openItem);
    connect(m_searchText, &QLineEdit::returnPressed, this, [this] { search(m_searchText->text()); });
    connect(find, &QPushButton::clicked, this, [this] { search(m_searchText->text()); });
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
}

void HelpWindow::showContext(int context) { showPage(HelpPageForContext(context)); }

void HelpWindow::showPage(const QString& file)
{
    QString page = file;
    if (!QFileInfo::exists(m_book.folder() + page))
        page = HelpContentsPage;
    if (QFileInfo::exists(m_book.folder() + page))
        m_browser->setSource(QUrl::fromLocalFile(m_book.folder() + page));
    else // a copy of the program without its help folder: say so instead of a blank page
        m_browser->setHtml(QStringLiteral("<h1>Help not found</h1><p>The help pages were not found in %1.</p>")
                               .arg(m_book.folder().toHtmlEscaped()));
    present();
}

QString HelpWindow::currentPage() const { return QFileInfo(m_browser->source().toLocalFile()).fileName(); }

void HelpWindow::search(const QString& query)
{
    m_searchText->setText(query);
    m_tabs->setCurrentIndex(1);
    m_results->clear();
    const QList<HelpPage> hits = m_book.search(query);
    for (const HelpPage& page : hits)
        m_results->addItem(pageItem(page));
    if (hits.isEmpty() && !query.trimmed().isEmpty()) {
        auto* none = new QListWidgetItem(QStringLiteral("No topic holds these words."));
        none->setFlags(Qt::NoItemFlags);
        m_results->addItem(none);
    }
}

void HelpWindow::openLink(const QUrl& url)
{
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
        || url.scheme() == QLatin1String("mailto")) {
        OpenUrl(url);
        return;
    }
    m_browser->setSource(m_browser->source().resolved(url));
}

void HelpWindow::pageChanged(const QUrl& url)
{
    // The signal comes before source() has changed: the new page is the argument.
    const QString file = QFileInfo(url.toLocalFile()).fileName();
    setWindowTitle(QStringLiteral("Orvanta Help - ") + m_book.title(file));
    for (int i = 0; i < m_contents->count(); ++i)
        if (m_contents->item(i)->data(Qt::UserRole).toString() == file) {
            m_contents->setCurrentRow(i);
            break;
        }
}

void HelpWindow::present()
{
    // A modal dialog blocks every other window; help asked for from one must still
    // be readable, so it runs modal on top until it is closed.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = (modal && modal != this) ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}
