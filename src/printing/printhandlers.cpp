#include "printing/printhandlers.h"

#include "platform/form.h"
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/printersetupdialog.h"
#include "printing/printlayout.h"
#include "state/errormessages.h"

#include <string>
#include <vector>

namespace quorix {

namespace {

void ReportPrintError(const SharedState& state, int error) {
    MessageBox(NumberedErrorMessage(state.ErrorMessages, error));
}

// One document of the alias list, named after the window; 0 or the run-time error number of the
// first failure, after which the unfinished document is dropped.
int PrintAliasList(const Form& window, std::span<const std::string> lines) {
    Printer& printer = ApplicationPrinter();
    printer.JobName = window.Caption();
    for (const std::string& line : AliasPrintLines(lines)) {
        if (const int error = printer.PrintLine(line); error != 0) {
            printer.KillDoc();
            return error;
        }
    }
    return printer.EndDoc();
}

} // namespace

void PlotPrint(Form& window, const SharedState& state) {
    if (const int error = ApplicationPrinter().PrintForm(window); error != 0) {
        ReportPrintError(state, error);
    }
}

void PlotPrintSetup(Form& window) {
    Printer& printer = ApplicationPrinter();
    PrinterSetupDialog dialog;
    dialog.PrinterName = printer.DeviceName();
    dialog.DriverName = printer.DriverName();
    dialog.Port = printer.Port();
    dialog.PaperBin = printer.Settings.PaperBin;
    dialog.Flags = kPlotSetupFlags;
    printer.SetTrackDefault(false);
    if (!dialog.Show(&window)) {
        return;
    }
    const std::string chosen = UpperCase(dialog.PrinterName);
    if (chosen != printer.DeviceName()) {
        const std::vector<PrinterDevice> devices = InstalledPrinters();
        std::vector<std::string> names;
        for (const PrinterDevice& device : devices) {
            names.push_back(device.deviceName);
        }
        if (const auto found = LastPrinterNamed(names, chosen)) {
            printer.Select(devices[*found]);
        }
    }
    printer.Settings = static_cast<const PrinterSettings&>(dialog);
}

void ListPrint(Form& window, const SharedState& state) {
    if (const int error = PrintAliasList(window, AliasLineSpan(state)); error != 0) {
        ReportPrintError(state, error);
    }
}

void ListPrintSetup(Form& window, const SharedState& state) {
    PrintDialog dialog;
    dialog.CancelError = true;
    if (dialog.ShowPrinter(&window) != 0) {
        return;
    }
    const int copies = dialog.Copies();
    ApplicationPrinter().Settings.Orientation = dialog.Orientation();
    for (int copy = 0; copy < copies; ++copy) {
        if (PrintAliasList(window, AliasLineSpan(state)) != 0) {
            return;
        }
    }
}

} // namespace quorix
