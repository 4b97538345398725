#pragma once
#include <QString>
#include <QUrl>
#include <functional>

// The maker's web site, shown in the about box and opened by "Visit Our Internet Website".
QString ProductWebsite();

// Opens an address in the user's browser (through the desktop's URL handler). Tests
// install an opener that records instead of starting a browser.
using UrlOpener = std::function<bool(const QUrl&)>;
bool OpenUrl(const QUrl& url);
// Returns the previous opener; an empty one restores the desktop's.
UrlOpener setUrlOpener(UrlOpener opener);
