#include "platform/printer.h"

#include "platform/form.h"
#include "platform/printqueue.h"
#include "platform/textfile.h"
#include "state/errormessages.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace quorix {

namespace {

constexpr const char* kQueueDriver = "CUPS";
constexpr const char* kFileDriver = "PDF";

std::string filePrinterOutput;
ScopedPrinterFault* activeFault = nullptr;

PrinterDevice QueueDevice(const std::string& name) {
    return {name, kQueueDriver, name};
}

PrinterDevice FileDevice() {
    return {kFilePrinterName, kFileDriver, filePrinterOutput};
}

bool IsFileDevice(const PrinterDevice& device) {
    return device.driverName == kFileDriver;
}

// The printer's own font: a fixed-pitch face, so lines indented by spaces stand in columns.
QFont PrinterFont() {
    QFont font("Liberation Mono");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    return font;
}

// The font of a window at `magnification` times its size on screen.
QFont Magnified(QFont font, double magnification) {
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * magnification);
    } else {
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * magnification)));
    }
    return font;
}

// Paints the window's client area into `page` (device pixels), as large as fits without distortion:
// its background, its display list as vectors, then its controls on top, as the screen shows them.
void PaintWindowImage(QPainter& painter, const Surface& surface, const QRect& page) {
    const QSize size = surface.size();
    if (size.isEmpty()) {
        return;
    }
    const double scale = std::min(page.width() / static_cast<double>(size.width()),
                                  page.height() / static_cast<double>(size.height()));
    const double screenDpi = 1440.0 / TwipsPerPixel();
    const QRectF area(0, 0, size.width() * scale, size.height() * scale);
    painter.save();
    painter.translate(page.topLeft());
    painter.setClipRect(area);
    painter.fillRect(area, surface.palette().color(QPalette::Window));
    PaintDisplayList(painter, surface.Drawing(), scale / TwipsPerPixel(),
                     Magnified(surface.font(), scale * screenDpi / painter.device()->logicalDpiY()));
    painter.scale(scale, scale);
    // A page shows no text cursor and no focus frame: the control that has the focus gives it up
    // while the page is drawn.
    QWidget* focused = surface.focusWidget();
    if (focused != nullptr && !focused->hasFocus()) {
        focused = nullptr;
    }
    if (focused != nullptr) {
        focused->clearFocus();
    }
    for (QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // Only the part of a control inside the client area is seen, and only that is printed.
        const QRect seen = child->geometry().intersected(surface.rect()).translated(-child->pos());
        if (child->isVisibleTo(&surface) && !seen.isEmpty()) {
            // Rendered straight onto a printer, a widget becomes a bitmap; recorded as a picture
            // first, its text and lines reach the page as text and lines.
            QPicture picture;
            child->render(&picture, QPoint(), QRegion(seen),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
            // A picture plays back at the device's resolution; it was recorded at the screen's.
            const double playback =
                picture.logicalDpiX() / static_cast<double>(painter.device()->logicalDpiX());
            painter.save();
            painter.translate(child->pos());
            painter.scale(playback, playback);
            painter.drawPicture(0, 0, picture);
            painter.restore();
        }
    }
    if (focused != nullptr) {
        focused->setFocus();
    }
    painter.restore();
}

} // namespace

std::vector<PrinterDevice> InstalledPrinters() {
    std::vector<PrinterDevice> devices;
    for (const std::string& name : CurrentPrintQueues().Names()) {
        devices.push_back(QueueDevice(name));
    }
    devices.push_back(FileDevice());
    return devices;
}

std::string FilePrinterOutput() {
    return filePrinterOutput;
}

void SetFilePrinterOutput(const std::string& path) {
    filePrinterOutput = path;
}

std::int16_t SystemPaperSize() {
    const QPrinter probe;
    return static_cast<std::int16_t>(probe.pageLayout().pageSize().id());
}

// One document being printed. A document for a queue is written into a spool file first and handed
// to the queue when it ends, under the name it was started with.
struct Printer::Document {
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    double y = 0.0;
    std::string queue;
    std::string title;
    std::unique_ptr<QTemporaryFile> spool;
};

Printer::Printer() {
    PrintQueues& queues = CurrentPrintQueues();
    const std::string defaultName = queues.DefaultName();
    const std::vector<std::string> names = queues.Names();
    if (!defaultName.empty()) {
        device_ = QueueDevice(defaultName);
    } else if (!names.empty()) {
        device_ = QueueDevice(names.front());
    } else {
        device_ = FileDevice();
    }
    seenDefault_ = defaultName;
}

Printer::~Printer() {
    KillDoc();
}
Printer::Printer(Printer&&) noexcept = default;
Printer& Printer::operator=(Printer&&) noexcept = default;

PrinterDevice Printer::Device() {
    if (trackDefault_) {
        const std::string current = CurrentPrintQueues().DefaultName();
        if (!current.empty() && current != seenDefault_) {
            seenDefault_ = current;
            device_ = QueueDevice(current);
        }
    }
    return device_;
}

void Printer::Select(const PrinterDevice& device) {
    device_ = device;
}

void Printer::SetTrackDefault(bool track) {
    static_cast<void>(Device());
    trackDefault_ = track;
}

void Printer::Configure(QPrinter& printer) {
    const PrinterDevice device = Device();
    if (IsFileDevice(device)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(device.port));
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(QString::fromStdString(device.deviceName));
    }
    ApplySettings(printer);
}

void Printer::ApplySettings(QPrinter& printer) const {
    const PrinterSettings& s = Settings;
    if (s.Copies >= 1) {
        printer.setCopyCount(s.Copies);
    }
    if (s.PaperSize >= 0 && s.PaperSize <= QPageSize::LastPageSize) {
        printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(s.PaperSize)));
    }
    if (s.Orientation == QPageLayout::Portrait || s.Orientation == QPageLayout::Landscape) {
        printer.setPageOrientation(static_cast<QPageLayout::Orientation>(s.Orientation));
    }
    if (s.ColorMode == QPrinter::GrayScale || s.ColorMode == QPrinter::Color) {
        printer.setColorMode(static_cast<QPrinter::ColorMode>(s.ColorMode));
    }
    if (s.Duplex >= QPrinter::DuplexNone && s.Duplex <= QPrinter::DuplexShortSide) {
        printer.setDuplex(static_cast<QPrinter::DuplexMode>(s.Duplex));
    }
    if (s.PaperBin >= QPrinter::OnlyOne && s.PaperBin <= QPrinter::LastPaperSource) {
        printer.setPaperSource(static_cast<QPrinter::PaperSource>(s.PaperBin));
    }
    if (s.PrintQuality > 0) {
        printer.setResolution(s.PrintQuality);
    }
}

void Printer::AdoptDialogChoices(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        SetFilePrinterOutput(printer.outputFileName().toStdString());
        Select(FileDevice());
    } else {
        Select(QueueDevice(printer.printerName().toStdString()));
    }
    Settings.Orientation = static_cast<std::int16_t>(printer.pageLayout().orientation());
    Settings.ColorMode = static_cast<std::int16_t>(printer.colorMode());
    Settings.Duplex = static_cast<std::int16_t>(printer.duplex());
    Settings.PaperBin = static_cast<std::int16_t>(printer.paperSource());
    Settings.PaperSize = static_cast<std::int16_t>(printer.pageLayout().pageSize().id());
    Settings.PrintQuality = static_cast<std::int16_t>(printer.resolution());
}

int Printer::StartJob(Document& doc, const std::string& title) {
    if (activeFault != nullptr) {
        return activeFault->ErrorNumber();
    }
    const PrinterDevice device = Device();
    QPrinter& printer = doc.printer;
    printer.setDocName(QString::fromStdString(title));
    if (IsFileDevice(device)) {
        if (device.port.empty()) {
            return kErrDeviceUnavailable;
        }
        // Qt tells only that a file could not be opened; opening it here first tells why.
        std::FILE* file = std::fopen(device.port.c_str(), "ab");
        if (file == nullptr) {
            return ErrorNumberFromErrno(errno, device.port);
        }
        std::fclose(file);
        Configure(printer);
    } else {
        const std::vector<std::string> queues = CurrentPrintQueues().Names();
        if (std::find(queues.begin(), queues.end(), device.deviceName) == queues.end()) {
            return kErrDeviceUnavailable;
        }
        doc.spool = std::make_unique<QTemporaryFile>();
        if (!doc.spool->open()) {
            return kErrDeviceIO;
        }
        doc.queue = device.deviceName;
        doc.title = title;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(doc.spool->fileName());
        ApplySettings(printer);
    }
    if (!doc.painter.begin(&printer)) {
        return IsFileDevice(device) ? kErrDeviceIO : kErrPrinter;
    }
    return 0;
}

int Printer::FinishJob(Document& doc) {
    const bool ended = doc.painter.end();
    if (!ended || doc.printer.printerState() == QPrinter::Error) {
        return doc.spool ? kErrPrinter : kErrDeviceIO;
    }
    if (doc.spool) {
        if (const int error = CurrentPrintQueues().Submit(QueueJobOf(doc)); error != 0) {
            return error;
        }
    }
    ++documentsSent_;
    return 0;
}

QueueJob Printer::QueueJobOf(const Document& doc) const {
    QueueJob job{doc.queue, doc.spool->fileName().toStdString(), doc.title, {}};
    const QPrinter& printer = doc.printer;
    job.options.emplace_back("media", printer.pageLayout().pageSize().key().toStdString());
    if (Settings.Copies > 1) {
        job.options.emplace_back("copies", std::to_string(Settings.Copies));
    }
    const char* sides[] = {"one-sided", "two-sided-long-edge", "two-sided-short-edge"};
    const int duplex = printer.duplex();
    if (duplex >= QPrinter::DuplexNone && duplex <= QPrinter::DuplexShortSide) {
        job.options.emplace_back("sides", sides[duplex]);
    }
    if (printer.pageLayout().orientation() == QPageLayout::Landscape) {
        job.options.emplace_back("landscape", "");
    }
    if (printer.colorMode() == QPrinter::GrayScale) {
        job.options.emplace_back("print-color-mode", "monochrome");
    }
    return job;
}

int Printer::PrintForm(const Form& window) {
    Document doc;
    if (const int error = StartJob(doc, window.Caption()); error != 0) {
        return error;
    }
    PaintWindowImage(doc.painter, window.DrawingSurface(),
                     QRect(QPoint(0, 0), doc.painter.viewport().size()));
    return FinishJob(doc);
}

int Printer::PrintLine(const std::string& text) {
    if (!document_) {
        auto document = std::make_unique<Document>();
        if (const int error = StartJob(*document, JobName); error != 0) {
            return error;
        }
        document->painter.setFont(PrinterFont());
        document_ = std::move(document);
    }
    Document& doc = *document_;
    const QFontMetricsF metrics(doc.painter.font(), &doc.printer);
    if (doc.y > 0 && doc.y + metrics.lineSpacing() > doc.painter.viewport().height()) {
        if (!doc.printer.newPage()) {
            const int error = doc.spool ? kErrPrinter : kErrDeviceIO;
            KillDoc();
            return error;
        }
        doc.y = 0.0;
    }
    doc.painter.drawText(QPointF(0, doc.y + metrics.ascent()), QString::fromStdString(text));
    doc.y += metrics.lineSpacing();
    return 0;
}

int Printer::EndDoc() {
    if (!document_) {
        return 0;
    }
    const std::unique_ptr<Document> document = std::move(document_);
    return FinishJob(*document);
}

void Printer::KillDoc() {
    if (document_) {
        document_->printer.abort();
        document_->painter.end();
        document_.reset();
    }
}

Printer& ApplicationPrinter() {
    static Printer printer;
    return printer;
}

ScopedPrinterFault::ScopedPrinterFault(int errorNumber) : errorNumber_(errorNumber), previous_(activeFault) {
    activeFault = this;
}
ScopedPrinterFault::~ScopedPrinterFault() {
    activeFault = previous_;
}

} // namespace quorix
