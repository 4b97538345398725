#pragma once
#include <functional>

// Every module asks for help by context number (platform/help_contexts.h); the shell
// installs the handler that shows the page, and tests install one that records.
using HelpHandler = std::function<void(int context)>;

// Shows the topic of a context number; does nothing while no handler is installed.
void ShowHelpContext(int context);

// Installs a handler and returns the previous one (an empty handler uninstalls).
HelpHandler setHelpHandler(HelpHandler handler);
