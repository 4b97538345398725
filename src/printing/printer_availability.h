#pragma once

// Whether the system (CUPS) offers a printer to print on.
enum class TPrinterAvailability {
    Ready,
    NoPrinters, // no printer is installed
    NoDefault, // printers exist, none is the default
};

TPrinterAvailability QueryPrinterAvailability();
