#pragma once

#include <string>
#include <string_view>

namespace dyno {

// A printer as the system names it: device, driver and port.
struct PrinterDevice {
  std::string Device;
  std::string Driver;
  std::string Port;

  friend bool operator==(const PrinterDevice&, const PrinterDevice&) = default;
};

// The system's default printer entry "device,driver,port": the device up to
// the first comma, the port after the last comma, the driver in between
// (empty when there are fewer than two commas).
PrinterDevice SplitPrinterDevice(std::string_view entry);

// The entry of a printer: "device,driver,port". Commas inside the device and
// the port do not survive a split; the driver may hold any.
std::string JoinPrinterDevice(const PrinterDevice& printer);

enum class PrinterChangeAction {
  Ignore,   // not about the printer, or there is no printer object yet
  Keep,     // the printer object still is the system's default printer
  Replace,  // discard the printer object and make a new one
};

// What a change of the system's settings section means for the application's
// printer object. Only the "windows" section names the default printer, and
// only an existing object can be out of date. An empty default entry (no
// default printer any more) replaces it; otherwise it is kept only when it
// reports no setup error and its device, driver and port equal the entry's
// exactly.
PrinterChangeAction PrinterSettingsChanged(std::string_view section, bool printerExists, std::string_view defaultEntry,
                                           bool printerValid, const PrinterDevice& printer);

}  // namespace dyno
