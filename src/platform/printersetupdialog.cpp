#include "platform/printersetupdialog.h"

#include "platform/printer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>

#include <initializer_list>
#include <utility>
#include <vector>

namespace quorix {

namespace {

using Choice = std::pair<const char*, int>;

void AddChoices(QComboBox& box, std::initializer_list<Choice> choices) {
    for (const auto& [text, code] : choices) {
        box.addItem(QObject::tr(text), code);
    }
}

// Refills a list with new entries and keeps the code chosen before.
void Refill(QComboBox& box, const std::vector<std::pair<QString, int>>& entries) {
    const int chosen = box.count() > 0 ? PrinterSetupWindow::CodeOf(box) : -1;
    box.clear();
    for (const auto& [text, code] : entries) {
        box.addItem(text, code);
    }
    if (chosen >= 0) {
        PrinterSetupWindow::SelectCode(box, chosen);
    }
}

std::vector<std::pair<QString, int>> PaperSizesOf(const QPrinterInfo& info) {
    QList<QPageSize> sizes = info.isNull() ? QList<QPageSize>() : info.supportedPageSizes();
    if (sizes.isEmpty()) {
        for (const auto id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
                              QPageSize::Legal, QPageSize::Executive}) {
            sizes.push_back(QPageSize(id));
        }
    }
    std::vector<std::pair<QString, int>> entries;
    for (const QPageSize& size : sizes) {
        entries.emplace_back(size.name(), static_cast<int>(size.id()));
    }
    return entries;
}

std::vector<std::pair<QString, int>> ResolutionsOf(const QPrinterInfo& info) {
    QList<int> dpis = info.isNull() ? QList<int>() : info.supportedResolutions();
    if (dpis.isEmpty()) {
        dpis = {300, 600, 1200};
    }
    std::vector<std::pair<QString, int>> entries;
    for (const int dpi : dpis) {
        entries.emplace_back(QObject::tr("%1 dpi").arg(dpi), dpi);
    }
    return entries;
}

std::int16_t ToInt16(int value) {
    return static_cast<std::int16_t>(value);
}

} // namespace

PrinterSetupWindow::PrinterSetupWindow(QWidget* owner)
    : QDialog(owner), printerBox(new QComboBox(this)), driverLabel(new QLabel(this)),
      portLabel(new QLabel(this)), fileEdit(new QLineEdit(this)),
      browseButton(new QPushButton(tr("Browse ..."), this)), copiesBox(new QSpinBox(this)),
      orientationBox(new QComboBox(this)), colourBox(new QComboBox(this)), duplexBox(new QComboBox(this)),
      paperBinBox(new QComboBox(this)), paperSizeBox(new QComboBox(this)), qualityBox(new QComboBox(this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(tr("Printer Setup"));
    for (const PrinterDevice& device : InstalledPrinters()) {
        printerBox->addItem(QString::fromStdString(device.deviceName));
    }
    copiesBox->setRange(1, 9999);
    AddChoices(*orientationBox, {{"Portrait", QPageLayout::Portrait}, {"Landscape", QPageLayout::Landscape}});
    AddChoices(*colourBox, {{"Colour", QPrinter::Color}, {"Grey scale", QPrinter::GrayScale}});
    AddChoices(*duplexBox, {{"One-sided", QPrinter::DuplexNone},
                            {"Two-sided, long edge", QPrinter::DuplexLongSide},
                            {"Two-sided, short edge", QPrinter::DuplexShortSide}});
    AddChoices(*paperBinBox, {{"Automatic", QPrinter::Auto},
                              {"Upper tray", QPrinter::Upper},
                              {"Middle tray", QPrinter::Middle},
                              {"Lower tray", QPrinter::Lower},
                              {"Manual feed", QPrinter::Manual},
                              {"Envelope", QPrinter::Envelope}});

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEdit, 1);
    fileRow->addWidget(browseButton);
    auto* form = new QFormLayout(this);
    form->addRow(tr("Printer:"), printerBox);
    form->addRow(tr("Driver:"), driverLabel);
    form->addRow(tr("Port:"), portLabel);
    form->addRow(tr("File:"), fileRow);
    form->addRow(tr("Copies:"), copiesBox);
    form->addRow(tr("Orientation:"), orientationBox);
    form->addRow(tr("Colour:"), colourBox);
    form->addRow(tr("Sides:"), duplexBox);
    form->addRow(tr("Paper source:"), paperBinBox);
    form->addRow(tr("Paper size:"), paperSizeBox);
    form->addRow(tr("Quality:"), qualityBox);
    form->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, &PrinterSetupWindow::BrowseForFile);
    connect(printerBox, &QComboBox::currentIndexChanged, this, &PrinterSetupWindow::PrinterChosen);
    PrinterChosen();
}

void PrinterSetupWindow::SelectCode(QComboBox& box, int code) {
    int index = box.findData(code);
    if (index < 0) {
        box.addItem(tr("Code %1").arg(code), code);
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
}

std::int16_t PrinterSetupWindow::CodeOf(const QComboBox& box) {
    return ToInt16(box.currentData().toInt());
}

bool PrinterSetupWindow::FileChosen() const {
    return printerBox->currentText() == QLatin1String(kFilePrinterName);
}

void PrinterSetupWindow::PrinterChosen() {
    const auto devices = InstalledPrinters();
    const int index = printerBox->currentIndex();
    if (index >= 0 && index < static_cast<int>(devices.size())) {
        driverLabel->setText(QString::fromStdString(devices[index].driverName));
        portLabel->setText(QString::fromStdString(devices[index].port));
    }
    fileEdit->setEnabled(FileChosen());
    browseButton->setEnabled(FileChosen());
    const QPrinterInfo info =
        FileChosen() ? QPrinterInfo() : QPrinterInfo::printerInfo(printerBox->currentText());
    Refill(*paperSizeBox, PaperSizesOf(info));
    Refill(*qualityBox, ResolutionsOf(info));
}

void PrinterSetupWindow::BrowseForFile() {
    const QString file =
        QFileDialog::getSaveFileName(this, tr("Print to File"), fileEdit->text(), tr("PDF files (*.pdf)"));
    if (!file.isEmpty()) {
        fileEdit->setText(file);
    }
}

bool PrinterSetupDialog::Show(QWidget* owner) {
    PrinterSetupWindow window(owner);
    const int named = window.printerBox->findText(QString::fromStdString(PrinterName), Qt::MatchFixedString);
    if (named >= 0) {
        window.printerBox->setCurrentIndex(named);
    }
    window.fileEdit->setText(
        QString::fromStdString(PrinterName == kFilePrinterName ? Port : FilePrinterOutput()));
    window.copiesBox->setValue(Copies);
    PrinterSetupWindow::SelectCode(*window.orientationBox, Orientation);
    PrinterSetupWindow::SelectCode(*window.colourBox, ColorMode);
    PrinterSetupWindow::SelectCode(*window.duplexBox, Duplex);
    PrinterSetupWindow::SelectCode(*window.paperBinBox, PaperBin);
    PrinterSetupWindow::SelectCode(*window.paperSizeBox, PaperSize);
    PrinterSetupWindow::SelectCode(*window.qualityBox, PrintQuality);
    if (!RunModal(window, window)) {
        return false;
    }
    PrinterName = window.printerBox->currentText().toStdString();
    Copies = ToInt16(window.copiesBox->value());
    Orientation = PrinterSetupWindow::CodeOf(*window.orientationBox);
    ColorMode = PrinterSetupWindow::CodeOf(*window.colourBox);
    Duplex = PrinterSetupWindow::CodeOf(*window.duplexBox);
    PaperBin = PrinterSetupWindow::CodeOf(*window.paperBinBox);
    PaperSize = PrinterSetupWindow::CodeOf(*window.paperSizeBox);
    PrintQuality = PrinterSetupWindow::CodeOf(*window.qualityBox);
    if (window.FileChosen()) {
        SetFilePrinterOutput(window.fileEdit->text().toStdString());
    }
    return true;
}

int PrintDialog::ShowPrinter(QWidget* owner) {
    Printer& application = ApplicationPrinter();
    QPrinter printer(QPrinter::HighResolution);
    application.Configure(printer);
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, owner);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (!RunModal(dialog, printer)) {
        return CancelError ? kErrCancel : 0;
    }
    copies_ = ToInt16(printer.copyCount());
    orientation_ = ToInt16(printer.pageLayout().orientation());
    application.AdoptDialogChoices(printer);
    return 0;
}

} // namespace quorix
