#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace quorix {

class Form;
struct QueueJob;

// A printer failure the platform cannot name more closely; it has no text of its own.
inline constexpr int kErrPrinter = 482;

// The name of the printer that writes each document into a PDF file: the printer a machine without
// any installed printer still has, as desktop programs on Linux offer it.
inline constexpr const char* kFilePrinterName = "Print to File (PDF)";

// One printer as the platform lists it. For the file printer the port is the file written.
struct PrinterDevice {
    std::string deviceName;
    std::string driverName;
    std::string port;
    friend bool operator==(const PrinterDevice&, const PrinterDevice&) = default;
};

// The installed printers in the platform's order: the system's print queues, then the file printer.
[[nodiscard]] std::vector<PrinterDevice> InstalledPrinters();

// The file the file printer writes; the empty text until one is chosen.
[[nodiscard]] std::string FilePrinterOutput();
void SetFilePrinterOutput(const std::string& path);

// The system's default paper size as a QPageSize::PageSizeId code.
[[nodiscard]] std::int16_t SystemPaperSize();

// The seven settings of a printer as 16-bit codes. The codes are Qt's: copies as a count,
// orientation QPageLayout::Orientation, colour mode QPrinter::ColorMode, duplex QPrinter::DuplexMode,
// paper bin QPrinter::PaperSource, paper size QPageSize::PageSizeId, quality in dots per inch. They
// are stored as given; a code the printer cannot use is left out when a document starts.
struct PrinterSettings {
    std::int16_t Copies = 1;
    std::int16_t Orientation = 0;
    std::int16_t ColorMode = 1;
    std::int16_t Duplex = 0;
    std::int16_t PaperBin = 6;
    std::int16_t PaperSize = SystemPaperSize();
    std::int16_t PrintQuality = 1200;
    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// The application printer, to which all printing goes. It starts on the system's default printer
// (the file printer when there is none) and follows the default while TrackDefault is set. Print
// operations return 0 or a run-time error number.
class Printer {
public:
    Printer();
    ~Printer();
    Printer(Printer&&) noexcept;
    Printer& operator=(Printer&&) noexcept;

    // The device printed on. While following the default, a change of the system default printer
    // makes the new default the device; otherwise it is the one last selected.
    [[nodiscard]] PrinterDevice Device();
    [[nodiscard]] std::string DeviceName() { return Device().deviceName; }
    [[nodiscard]] std::string DriverName() { return Device().driverName; }
    [[nodiscard]] std::string Port() { return Device().port; }
    // Makes the device the application printer; the settings stay as they are.
    void Select(const PrinterDevice& device);

    [[nodiscard]] bool TrackDefault() const { return trackDefault_; }
    // Switching it off keeps the device printed on now, whatever the system default becomes.
    void SetTrackDefault(bool track);

    PrinterSettings Settings;

    // The name the documents of printed lines carry in the print queue; a window's image carries
    // the window's caption.
    std::string JobName;

    // Prints the window's client area, everything drawn on it and its controls, as one page scaled
    // to fit the page, and sends it at once.
    [[nodiscard]] int PrintForm(const Form& window);
    // Prints one line in the printer's own font; the first line starts a document, and a line that
    // no longer fits on the page starts the next one.
    [[nodiscard]] int PrintLine(const std::string& text);
    // Sends the document of the printed lines; with no line printed there is nothing to send.
    [[nodiscard]] int EndDoc();
    // Drops the document of the printed lines unsent, after a failure.
    void KillDoc();
    // Documents sent since the printer was made, for the count of copies printed.
    [[nodiscard]] int DocumentsSent() const { return documentsSent_; }

    // Prepares a Qt printer for the device and the settings, as a document would start on it.
    void Configure(QPrinter& printer);
    // Takes the device and the settings, all but the copies, from a Qt printer that a print dialog
    // has edited: the caller decides what the copies mean.
    void AdoptDialogChoices(const QPrinter& printer);

private:
    struct Document;
    void ApplySettings(QPrinter& printer) const;
    [[nodiscard]] int StartJob(Document& doc, const std::string& title);
    [[nodiscard]] int FinishJob(Document& doc);
    [[nodiscard]] QueueJob QueueJobOf(const Document& doc) const;

    PrinterDevice device_;
    std::string seenDefault_;
    bool trackDefault_ = true;
    std::unique_ptr<Document> document_;
    int documentsSent_ = 0;
};

// The one application printer of the process.
[[nodiscard]] Printer& ApplicationPrinter();

// While one exists, every print job fails as it starts with this run-time error number, as a
// printer that is out of paper or faulty does; it lets tests reach the handlers' error paths.
class ScopedPrinterFault {
public:
    explicit ScopedPrinterFault(int errorNumber);
    ~ScopedPrinterFault();
    ScopedPrinterFault(const ScopedPrinterFault&) = delete;
    ScopedPrinterFault& operator=(const ScopedPrinterFault&) = delete;

    [[nodiscard]] int ErrorNumber() const { return errorNumber_; }

private:
    int errorNumber_;
    ScopedPrinterFault* previous_;
};

} // namespace quorix
