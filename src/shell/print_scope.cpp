#include "print_scope.h"

#include "calendar/calendar_panel.h"
#include "platform/shell_helpers.h"

PagePrintScope::PagePrintScope(TCalendarPanel32& page)
    : m_page(page), m_zoom(page.Zoom()), m_suspended(page.PaintSuspended), m_printing(page.Printing)
{
    HourglassOn();
    if (m_zoom != 1.0f)
        m_page.SetZoom(1.0f);
}

PagePrintScope::~PagePrintScope()
{
    HourglassOff();
    if (m_zoom != 1.0f)
        m_page.SetZoom(m_zoom);
    m_page.PaintSuspended = false;
    m_page.update();
}
