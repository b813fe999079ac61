#include "printing/printhandlers.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/printersetupdialog.h"
#include "platform/printqueue.h"
#include "support/recordingqueues.h"
#include "support/searchedstate.h"
#include "support/tempfolder.h"
#include "ui/application.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <sstream>

namespace quorix {
namespace {

using Messages = std::vector<std::string>;

// What poppler reads back from a printed PDF file: its text laid out, or its first page as a
// picture of one pixel per point (pdftoppm).
std::string Poppler(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput().toStdString();
}
std::string PdfText(const std::string& pdf) {
    return Poppler("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
}

QAction* MenuItem(Form& form, const QString& caption) {
    const auto actions = form.menuBar()->findChildren<QAction*>();
    return *std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == caption; });
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitialiseSharedState(state);
        for (const char* line :
             {" For Trial Period = 0.500000", " Range 0.2 - 1.2 days", "", "   1   0.333333"}) {
            state.AliasLines[++state.AliasLineCount] = line;
        }
    }

    // A fresh file printer writing `name` (nothing if empty); its jobs fail with `fault` unless it is 0.
    std::string PrintToFile(const std::string& name, int fault = 0) {
        messages.Clear();
        ApplicationPrinter() = Printer();
        fault_.reset(); // before the next one, which would otherwise stand in for it
        fault_ = fault != 0 ? std::make_unique<ScopedPrinterFault>(fault) : nullptr;
        const std::string path = name.empty() ? std::string() : (folder.Path() / name).string();
        SetFilePrinterOutput(path);
        ApplicationPrinter().Select(InstalledPrinters().back()); // the file printer comes last
        return path;
    }

    testing::TempFolder folder;
    SharedState state;
    MessageRecorder messages;
    std::unique_ptr<ScopedPrinterFault> fault_;
};

TEST_F(PrintingTest, TheFTPageHoldsTheFrameTheTickLabelsAndTheBlueCurve) {
    Application app;
    SharedState& s = app.State();
    testing::FillSearched(s);
    s.FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT& window = app.PlotFT();
    RedrawFTPlot(s, window);
    const std::string pdf = PrintToFile("ft.pdf");
    MenuItem(window, "Print")->trigger();
    ASSERT_EQ(ApplicationPrinter().DocumentsSent(), 1);

    // At one pixel per point the frame's top and bottom cross the page in black; the curve is blue.
    Poppler("pdftoppm",
            {"-r", "72", "-png", "-singlefile", QString::fromStdString(pdf), QString::fromStdString(pdf)});
    const QImage page(QString::fromStdString(pdf + ".png"));
    ASSERT_FALSE(page.isNull());
    int longestBlackRun = 0, blue = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0, run = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            run = std::max({c.red(), c.green(), c.blue()}) < 160 ? run + 1 : 0;
            longestBlackRun = std::max(longestBlackRun, run);
            blue += c.blue() > 200 && c.red() < 100 && c.green() < 100;
        }
    }
    EXPECT_GT(longestBlackRun, page.width() * 0.7) << "the frame";
    EXPECT_GT(blue, page.width() * 0.7) << "the curve";
    // The tick labels are text: the first two words on the page, left to right.
    std::istringstream firstLine(PdfText(pdf));
    std::string left, right;
    firstLine >> left >> right;
    EXPECT_EQ(left, window.CaptionOf(FTControl::kLabel1));
    EXPECT_EQ(right, window.CaptionOf(FTControl::kLabel2));
}

TEST_F(PrintingTest, EachPrintCommandSendsItsDocumentsOrTellsWhyNot) {
    Form form;
    form.SetWidth(6000);
    form.SetHeight(4000);
    Label beyond(&form.DrawingSurface());
    beyond.Place(300, 4500, 2000, 255); // below the client area
    beyond.SetCaption("Past the edge");
    form.Show();
    form.DrawingSurface().EditDrawing().Print("Quorix test page", form.DrawingSurface().TextLineHeight());
    // The plot and list prints tell every failure (both start jobs alike: the plot's cases stand for
    // the list's); the list print dialog fails silently, and prints a document per copy if confirmed.
    enum Command { kPlot, kList, kListDialog };
    const struct {
        Command command;
        int fault;
        const char* file;
        std::string message;
        int documents;
        int copies = 1;
        bool confirm = true;
    } cases[] = {
        {kPlot, 27, "a.pdf", " 27 Error: Out of paper.", 0},
        {kPlot, 482, "a.pdf", " 482 ", 0},
        {kPlot, 0, "", " 68 Error: Device unavailable.", 0},
        {kPlot, 0, "missing/a.pdf", " 76 Error: Path not found.", 0},
        {kPlot, 0, ".", " 75 Error: Path/file access error.", 0},
        {kPlot, 0, "page.pdf", "", 1},
        {kList, 27, "list.pdf", " 27 Error: Out of paper.", 0},
        {kList, 0, "list.pdf", "", 1},
        {kListDialog, 0, "copies.pdf", "", 3, 3},
        {kListDialog, 0, "cancelled.pdf", "", 0, 3, false},
        {kListDialog, 0, "", "", 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + " " + c.file + " " + std::to_string(c.fault));
        const std::string pdf = PrintToFile(c.file, c.fault);
        DialogResponder<QPrinter> user([&](QPrinter& printer) {
            printer.setCopyCount(c.copies);
            printer.setPageOrientation(QPageLayout::Landscape);
            if (!pdf.empty()) { // else the file printer stays chosen, without a file
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf));
            }
            return c.confirm;
        });
        c.command == kPlot   ? PlotPrint(form, state)
        : c.command == kList ? ListPrint(form, state)
                             : ListPrintSetup(form, state);
        EXPECT_EQ(user.Shown(), c.command == kListDialog ? 1 : 0);
        EXPECT_EQ(messages.Messages(), c.message.empty() ? Messages{} : Messages{c.message});
        EXPECT_EQ(ApplicationPrinter().DocumentsSent(), c.documents);
        EXPECT_EQ(std::filesystem::is_regular_file(pdf), c.documents > 0) << "a failed start writes nothing";
        const std::string text = c.documents > 0 ? PdfText(pdf) : std::string();
        if (c.command == kListDialog) {
            EXPECT_EQ(ApplicationPrinter().Settings.Orientation, c.confirm ? QPageLayout::Landscape : 0);
            EXPECT_EQ(text.find("For Trial"), text.rfind("For Trial")) << "one copy in each document";
        } else if (c.command == kList && c.documents > 0) {
            EXPECT_TRUE(std::regex_search(text, std::regex("1.2 days\\s*\\n\\s*\\n\\s*1   0.333333")))
                << "one document of the list, its own empty line kept";
        } else if (c.documents > 0) {
            EXPECT_NE(text.find("Quorix test page"), std::string::npos) << "drawn text stays text";
            EXPECT_EQ(text.find("Past the edge"), std::string::npos) << "what is not seen is not printed";
        }
    }
}

// With a default printer present, every print goes to it as a named job, and what the queue says
// against a job reaches the user; the machine's own queues are out of reach of every test.
TEST_F(PrintingTest, QueueJobsCarryTheCaptionAndTheirRefusalsAreTold) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty()) << "the machine's queues are listed";
    ASSERT_TRUE(QPrinterInfo::defaultPrinterName().isEmpty());
    Form form;
    form.SetCaption("stars.txt");
    form.SetWidth(6000);
    form.SetHeight(4000);
    form.Show();
    const struct {
        const char* what;
        bool found, accepting, stopped;
        const char* reasons;
        bool taken;
        std::string message;
    } cases[] = {
        {"taken", true, true, false, "none", true, ""},
        {"rejecting jobs", true, false, false, "none", true, " 68 Error: Device unavailable."},
        {"gone", false, true, false, "", true, " 68 Error: Device unavailable."},
        {"stopped", true, true, true, "paused", true, " 25 Device fault."},
        {"out of paper", true, true, true, "media-empty-error", true, " 27 Error: Out of paper."},
        {"job refused", true, true, false, "none", false, " 482 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool list : {false, true}) {
            testing::RecordingQueues queues({"Lab", "Office"}, "Office");
            queues.refusal = QueueErrorNumber({c.found, c.accepting, c.stopped, c.reasons, c.taken});
            messages.Clear();
            ApplicationPrinter() = Printer();
            ApplicationPrinter().Settings.Copies = 2;
            ASSERT_EQ(ApplicationPrinter().DeviceName(), "Office") << "the default printer is the one used";
            list ? ListPrint(form, state) : PlotPrint(form, state);
            EXPECT_EQ(messages.Messages(), c.message.empty() ? Messages{} : Messages{c.message});
            EXPECT_EQ(queues.submitted, 1);
            EXPECT_EQ(ApplicationPrinter().DocumentsSent(), c.message.empty() ? 1 : 0);
            if (c.message.empty()) {
                const QueueJob& job = queues.jobs.at(0).job;
                EXPECT_EQ(job.queue, "Office");
                EXPECT_EQ(job.title, "stars.txt");
                EXPECT_NE(std::find(job.options.begin(), job.options.end(),
                                    std::pair<std::string, std::string>{"copies", "2"}),
                          job.options.end());
                EXPECT_TRUE(queues.jobs.at(0).document.startsWith("%PDF"))
                    << "the queue gets the finished page";
            }
        }
    }
}

TEST_F(PrintingTest, ThePlotSetupCopiesTheChoicesOrLeavesEverythingOnCancel) {
    Application app;
    frmPlot_FT& window = app.PlotFT();
    const std::string before = (folder.Path() / "before.pdf").string();
    const std::string after = (folder.Path() / "after.pdf").string();
    const PrinterSettings kept{.Copies = 2, .ColorMode = QPrinter::GrayScale, .PaperSize = QPageSize::Letter};
    const PrinterSettings chosen{
        3,  QPageLayout::Portrait, QPrinter::Color, QPrinter::DuplexShortSide, QPrinter::Lower, QPageSize::A5,
        600};
    const struct {
        const char* what;
        bool confirm;
        std::int16_t bin;
        PrinterSettings expected;
        std::string port;
    } cases[] = {
        {"cancelled", false, kept.PaperBin, kept, before},
        {"confirmed", true, kept.PaperBin, chosen, after},
        {"a bin the dialog does not name comes back as it was", true, 13, {.PaperBin = 13}, before},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PrintToFile("before.pdf");
        Printer& printer = ApplicationPrinter();
        printer.Settings = kept;
        printer.Settings.PaperBin = c.bin;
        DialogResponder<PrinterSetupWindow> user([&](PrinterSetupWindow& dialog) {
            EXPECT_EQ(dialog.printerBox->currentText().toStdString(), kFilePrinterName);
            if (c.port == after) {
                dialog.fileEdit->setText(QString::fromStdString(after));
                dialog.copiesBox->setValue(chosen.Copies);
                for (const auto& [box, code] : {std::pair{dialog.orientationBox, chosen.Orientation},
                                                {dialog.colourBox, chosen.ColorMode},
                                                {dialog.duplexBox, chosen.Duplex},
                                                {dialog.paperBinBox, chosen.PaperBin},
                                                {dialog.paperSizeBox, chosen.PaperSize},
                                                {dialog.qualityBox, chosen.PrintQuality}}) {
                    PrinterSetupWindow::SelectCode(*box, code);
                }
            }
            return c.confirm;
        });
        MenuItem(window, "Print Setup ...")->trigger();
        EXPECT_EQ(printer.Settings, c.confirm ? c.expected : kept);
        EXPECT_EQ(printer.DeviceName(), kFilePrinterName);
        EXPECT_EQ(printer.Port(), c.port);
        EXPECT_FALSE(printer.TrackDefault()) << "switched off before the dialog";
    }
}

} // namespace
} // namespace quorix
