#include "printer_availability.h"

#include <QPrinterInfo>

TPrinterAvailability QueryPrinterAvailability()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return TPrinterAvailability::NoPrinters;
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        return TPrinterAvailability::NoDefault;
    return TPrinterAvailability::Ready;
}
