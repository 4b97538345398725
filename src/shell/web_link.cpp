#include "web_link.h"

#include <QDesktopServices>
#include <utility>

namespace {
UrlOpener& currentOpener()
{
    static UrlOpener opener;
    return opener;
}
} // namespace

QString ProductWebsite() { return QStringLiteral("https://orvanta.example.org/"); }

bool OpenUrl(const QUrl& url)
{
    const UrlOpener opener = currentOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

UrlOpener setUrlOpener(UrlOpener opener) { return std::exchange(currentOpener(), std::move(opener)); }
