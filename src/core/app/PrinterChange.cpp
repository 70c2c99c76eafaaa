#include "core/app/PrinterChange.h"

namespace dyno {

PrinterDevice SplitPrinterDevice(std::string_view entry) {
  PrinterDevice parts;
  const std::size_t first = entry.find(',');
  if (first == std::string_view::npos) {
    parts.Device = entry;
    return parts;
  }
  const std::size_t last = entry.rfind(',');
  parts.Device = entry.substr(0, first);
  parts.Port = entry.substr(last + 1);
  if (last > first) parts.Driver = entry.substr(first + 1, last - first - 1);
  return parts;
}

std::string JoinPrinterDevice(const PrinterDevice& printer) {
  return printer.Device + ',' + printer.Driver + ',' + printer.Port;
}

PrinterChangeAction PrinterSettingsChanged(std::string_view section, bool printerExists, std::string_view defaultEntry,
                                           bool printerValid, const PrinterDevice& printer) {
  if (section != "windows" || !printerExists) return PrinterChangeAction::Ignore;
  if (defaultEntry.empty()) return PrinterChangeAction::Replace;
  if (printerValid && SplitPrinterDevice(defaultEntry) == printer) return PrinterChangeAction::Keep;
  return PrinterChangeAction::Replace;
}

}  // namespace dyno
