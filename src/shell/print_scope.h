#pragma once
#include "platform/scope_flag.h"

class TCalendarPanel32;

// While a page is printed or written as PDF: painting suspended, objects told they are
// printing, the hourglass on and the zoom at 1 (the printed geometry). The zoom and the
// flags come back on every way out, and the page repaints.
class PagePrintScope {
public:
    explicit PagePrintScope(TCalendarPanel32& page);
    ~PagePrintScope();
    PagePrintScope(const PagePrintScope&) = delete;
    PagePrintScope& operator=(const PagePrintScope&) = delete;

private:
    TCalendarPanel32& m_page;
    float m_zoom;
    ScopeFlag m_suspended;
    ScopeFlag m_printing;
};
