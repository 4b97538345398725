#include "help_request.h"

#include <utility>

namespace {
HelpHandler& currentHandler()
{
    static HelpHandler handler;
    return handler;
}
} // namespace

void ShowHelpContext(int context)
{
    // A copy: the handler may install another while it runs.
    const HelpHandler handler = currentHandler();
    if (handler)
        handler(context);
}

HelpHandler setHelpHandler(HelpHandler handler) { return std::exchange(currentHandler(), std::move(handler)); }
