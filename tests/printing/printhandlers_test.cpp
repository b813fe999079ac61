#include "printing/printhandlers.h"

#include "ftplot/frmplot_ft.h"
#include "ftplot/ftrender.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/messagebox.h"
#include "platform/printer.h"
#include "platform/printersetupdialog.h"
#include "printing/pdfpages.h"
#include "support/searchedstate.h"
#include "support/tempfolder.h"
#include "ui/application.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPrinter>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

namespace quorix {
namespace {

using testing::FillSearched;
using testing::PdfFirstPage;
using testing::PdfLayoutText;
using testing::PdfWord;
using testing::PdfWords;
using Messages = std::vector<std::string>;

PrinterDevice FilePrinter() {
    for (const PrinterDevice& device : InstalledPrinters()) {
        if (device.deviceName == kFilePrinterName) {
            return device;
        }
    }
    return {};
}

QAction* MenuItem(Form& form, const QString& caption) {
    for (QAction* action : form.menuBar()->findChildren<QAction*>()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
}

std::optional<PdfWord> FindWord(const std::vector<PdfWord>& words, const std::string& text) {
    for (const PdfWord& word : words) {
        if (word.text == text) {
            return word;
        }
    }
    return std::nullopt;
}

// The box of every pixel of one colour.
QRect BoxOf(const QImage& page, QColor colour) {
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y) == colour) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Whether a pixel near (x, y) is black, as a hairline lands on one of two rows or columns.
bool DarkNear(const QImage& page, double x, double y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QColor c =
                page.pixelColor(static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy);
            if (c.red() < 90 && c.green() < 90 && c.blue() < 90) {
                return true;
            }
        }
    }
    return false;
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFilePrinterOutput("");
        ApplicationPrinter() = Printer();
        InitialiseSharedState(state);
    }

    // Makes the file printer the application printer, writing `name` in the test's folder; an
    // empty name leaves the file printer without a file.
    std::string PrintToFile(const std::string& name) {
        const std::string path = name.empty() ? std::string() : (folder.Path() / name).string();
        SetFilePrinterOutput(path);
        ApplicationPrinter().Select(FilePrinter());
        return path;
    }

    void SetAliasLines(std::initializer_list<std::string> lines) {
        state.AliasLineCount = 0;
        for (const std::string& line : lines) {
            state.AliasLines[++state.AliasLineCount] = line;
        }
    }

    testing::TempFolder folder;
    SharedState state;
    MessageRecorder messages;
};

TEST_F(PrintingTest, TheFTPageHoldsTheFrameTheTickLabelsAndTheBlueCurve) {
    Application app;
    const SharedState& s = app.State();
    FillSearched(app.State());
    app.State().FTRedrawing = kTrue; // as DrawFTAxes leaves it before it loads the window
    frmPlot_FT window(app);
    window.Load();
    RedrawFTPlot(app.State(), window);
    ASSERT_DOUBLE_EQ(window.Width(), 14900);
    const std::string pdf = PrintToFile("ft.pdf");

    QStringList captions;
    for (QAction* action : window.menuBar()->actions().front()->menu()->actions()) {
        captions << action->text();
    }
    EXPECT_EQ(captions, QStringList({"Print Setup ...", "Print", "", "E&xit"}));
    MenuItem(window, "Print")->trigger();
    EXPECT_EQ(messages.Messages(), Messages{});
    ASSERT_EQ(ApplicationPrinter().DocumentsSent(), 1);

    const QImage page = PdfFirstPage(pdf, folder.Path() / "ft");
    ASSERT_FALSE(page.isNull());
    // The window's grey background shows where its client area landed on the page.
    const QRect image = BoxOf(page, QColor(224, 224, 224));
    ASSERT_GT(image.width(), page.width() * 0.8) << "the wide window fills the page's width";
    const double pointsPerTwip = image.width() / (window.DrawingSurface().width() * TwipsPerPixel());
    const auto x = [&](double twips) { return image.left() + twips * pointsPerTwip; };
    const auto y = [&](double twips) { return image.top() + twips * pointsPerTwip; };
    const double midX = (s.PlotLeft + s.PlotRight) / 2.0;
    const double midY = (s.PlotTop + s.PlotBottom) / 2.0;
    EXPECT_TRUE(DarkNear(page, x(s.PlotLeft), y(midY)));
    EXPECT_TRUE(DarkNear(page, x(s.PlotRight), y(midY)));
    EXPECT_TRUE(DarkNear(page, x(midX), y(s.PlotTop)));
    EXPECT_TRUE(DarkNear(page, x(midX), y(s.PlotBottom)));
    EXPECT_FALSE(DarkNear(page, x(midX), y(s.PlotTop + 60))) << "nothing black inside the frame's top";

    int blue = 0;
    for (int py = static_cast<int>(y(s.PlotTop)) + 2; py < y(s.PlotBottom) - 1; ++py) {
        for (int px = static_cast<int>(x(s.PlotLeft)) + 2; px < x(s.PlotRight) - 1; ++px) {
            const QColor c = page.pixelColor(px, py);
            blue += c.blue() > 200 && c.red() < 100 && c.green() < 100;
        }
    }
    EXPECT_GT(blue, image.width()) << "the curve crosses the whole frame in blue";

    // The tick labels are text on the page, under their ticks.
    const auto words = PdfWords(pdf);
    for (const auto control : {FTControl::kLabel1, FTControl::kLabel2}) {
        const Control& label = window.ControlOf(control);
        const auto word = FindWord(words, window.CaptionOf(control));
        ASSERT_TRUE(word.has_value()) << window.CaptionOf(control);
        EXPECT_NEAR(word->xMin, x(label.Left()), 6.0) << window.CaptionOf(control);
        EXPECT_GT(word->yMin, y(label.Top()) - 2.0);
        EXPECT_LT(word->yMax, y(label.Top() + label.Height()) + 2.0);
    }
    EXPECT_EQ(window.CaptionOf(FTControl::kLabel1), "1.0");
    const std::string text = PdfLayoutText(pdf);
    EXPECT_NE(text.find("Period (days)"), std::string::npos);
    EXPECT_NE(text.find("Tick interval (days):   0.2"), std::string::npos) << text;
}

TEST_F(PrintingTest, APlotPrintFailureShowsItsNumberAndTextAndLeavesTheDrawing) {
    Form form;
    form.SetWidth(6000);
    form.SetHeight(4000);
    Label inside(&form.DrawingSurface()), beyond(&form.DrawingSurface());
    inside.Place(300, 2500, 2000, 255);
    inside.SetCaption("Inside label");
    beyond.Place(300, 4500, 2000, 255); // below the client area
    beyond.SetCaption("Past the edge");
    form.Show();
    DisplayList& drawing = form.DrawingSurface().EditDrawing();
    drawing.Line(300, 300, 4000, 2000);
    drawing.Print("Quorix test page", form.DrawingSurface().TextLineHeight());
    const auto drawn = form.DrawingSurface().Drawing().Ops().size();
    const struct {
        const char* what;
        int fault;
        const char* file;
        std::string message;
    } cases[] = {
        {"out of paper", 27, "a.pdf", " 27 Error: Out of paper."},
        {"device fault", 25, "a.pdf", " 25 Device fault."},
        {"a printer error without text", 482, "a.pdf", " 482 "},
        {"a number beyond the table", 32000, "a.pdf", " 32000 "},
        {"no printer and no file", 0, "", " 68 Error: Device unavailable."},
        {"a file in a missing folder", 0, "missing/a.pdf", " 76 Error: Path not found."},
        {"a folder for a file", 0, ".", " 75 Error: Path/file access error."},
        {"printed", 0, "page.pdf", ""},
    };
    for (const auto& c : cases) {
        messages.Clear();
        const std::string pdf = PrintToFile(c.file);
        std::optional<ScopedPrinterFault> fault;
        if (c.fault != 0) {
            fault.emplace(c.fault);
        }
        PlotPrint(form, state);
        const bool printed = c.message.empty();
        EXPECT_EQ(messages.Messages(), printed ? Messages{} : Messages{c.message}) << c.what;
        EXPECT_EQ(ApplicationPrinter().DocumentsSent(), printed ? 1 : 0) << c.what;
        EXPECT_EQ(form.DrawingSurface().Drawing().Ops().size(), drawn) << c.what;
        if (printed) {
            const std::string text = PdfLayoutText(pdf);
            EXPECT_NE(text.find("Quorix test page"), std::string::npos) << "drawn text stays text";
            EXPECT_NE(text.find("Inside label"), std::string::npos);
            EXPECT_EQ(text.find("Past the edge"), std::string::npos) << "what is not seen is not printed";
        } else if (c.fault != 0) {
            EXPECT_FALSE(std::filesystem::exists(pdf)) << "a failed start writes nothing: " << c.what;
        }
    }
}

TEST_F(PrintingTest, TheListStandsFiveLinesDownAndTwentySpacesInAsOneDocument) {
    SetAliasLines({" For Trial Period = 0.500000", " Range 0.2 - 1.2 days", "", "   1   0.333333"});
    const std::string pdf = PrintToFile("aliases.pdf");
    ListPrint(state);
    EXPECT_EQ(messages.Messages(), Messages{});
    EXPECT_EQ(ApplicationPrinter().DocumentsSent(), 1);

    std::vector<std::string> texts;
    std::istringstream layout(PdfLayoutText(pdf));
    for (std::string line; std::getline(layout, line);) {
        if (line.find_first_not_of(" \f") != std::string::npos) {
            texts.push_back(line.substr(line.find_first_not_of(' ')));
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"For Trial Period = 0.500000", "Range 0.2 - 1.2 days",
                                               "1   0.333333"}));

    // Measured on the page from the printable area's corner, in the font's own advance and spacing.
    QPrinter probe(QPrinter::HighResolution);
    ApplicationPrinter().Configure(probe);
    const QPointF corner = probe.pageLayout().paintRectPoints().topLeft();
    const auto words = PdfWords(pdf);
    const auto first = FindWord(words, "For");
    const auto second = FindWord(words, "Trial");
    const auto below = FindWord(words, "Range");
    ASSERT_TRUE(first && second && below);
    const double advance = (second->xMin - first->xMin) / 4; // "For "
    const double spacing = below->yMin - first->yMin;
    EXPECT_NEAR((first->xMin - corner.x()) / advance, 20.0, 0.05) << "19 spaces and the line's own";
    EXPECT_NEAR((below->xMin - corner.x()) / advance, 20.0, 0.05);
    EXPECT_NEAR((first->yMin - corner.y()) / spacing, 5.0, 0.3) << "five empty lines above";
}

TEST_F(PrintingTest, AListPrintFromItsMenuReportsAFailureAndSendsNothing) {
    SetAliasLines({" For Trial Period = 0.500000"});
    const struct {
        int fault;
        const char* file;
        std::string message;
    } cases[] = {
        {0, "", " 68 Error: Device unavailable."},
        {27, "list.pdf", " 27 Error: Out of paper."},
        {0, "missing/list.pdf", " 76 Error: Path not found."},
    };
    for (const auto& c : cases) {
        messages.Clear();
        const std::string pdf = PrintToFile(c.file);
        std::optional<ScopedPrinterFault> fault;
        if (c.fault != 0) {
            fault.emplace(c.fault);
        }
        ListPrint(state);
        EXPECT_EQ(messages.Messages(), Messages{c.message});
        EXPECT_EQ(ApplicationPrinter().DocumentsSent(), 0);
        EXPECT_FALSE(!pdf.empty() && std::filesystem::exists(pdf));
    }
}

TEST_F(PrintingTest, TheListPrintDialogPrintsOneDocumentPerCopyAndFailsSilently) {
    SetAliasLines({" For Trial Period = 0.500000", "   1   0.333333"});
    Form window;
    const struct {
        const char* what;
        bool confirm;
        int copies;
        const char* file;
        int fault;
        int documents;
    } cases[] = {
        {"three copies", true, 3, "copies.pdf", 0, 3},  {"one copy", true, 1, "copies.pdf", 0, 1},
        {"cancelled", false, 3, "copies.pdf", 0, 0},    {"no file chosen", true, 2, "", 0, 0},
        {"out of paper", true, 2, "copies.pdf", 27, 0},
    };
    for (const auto& c : cases) {
        ApplicationPrinter() = Printer();
        const std::string pdf = (folder.Path() / c.file).string();
        std::filesystem::remove(pdf);
        DialogResponder<QPrinter> user([&](QPrinter& printer) {
            printer.setCopyCount(c.copies);
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(*c.file != '\0' ? QString::fromStdString(pdf) : QString());
            return c.confirm;
        });
        std::optional<ScopedPrinterFault> fault;
        if (c.fault != 0) {
            fault.emplace(c.fault);
        }
        ListPrintSetup(window, state);
        EXPECT_EQ(user.Shown(), 1) << c.what;
        EXPECT_EQ(messages.Messages(), Messages{}) << "silent: " << c.what;
        EXPECT_EQ(ApplicationPrinter().DocumentsSent(), c.documents) << c.what;
        EXPECT_EQ(ApplicationPrinter().Settings.Orientation, c.confirm ? QPageLayout::Landscape : 0)
            << c.what;
        if (c.documents > 0) {
            const std::string text = PdfLayoutText(pdf);
            EXPECT_EQ(text.find("For Trial"), text.rfind("For Trial")) << "one copy in each document";
        } else {
            EXPECT_FALSE(std::filesystem::exists(pdf)) << c.what;
        }
    }
}

TEST_F(PrintingTest, ThePlotSetupCopiesTheChoicesOrLeavesEverythingOnCancel) {
    Application app;
    FillSearched(app.State());
    frmPlot_FT window(app);
    window.Load();
    const std::string before = PrintToFile("before.pdf");
    const std::string after = (folder.Path() / "after.pdf").string();
    const PrinterSettings kept{2,
                               QPageLayout::Landscape,
                               QPrinter::GrayScale,
                               QPrinter::DuplexLongSide,
                               QPrinter::Manual,
                               QPageSize::Letter,
                               300};
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
        {"cancelled", false, QPrinter::Manual, kept, before},
        {"confirmed", true, QPrinter::Manual, chosen, after},
        {"a bin the dialog does not name comes back as it was", true, 13,
         PrinterSettings{1, 0, 1, 0, 13, SystemPaperSize(), 1200}, before},
    };
    for (const auto& c : cases) {
        Printer& printer = ApplicationPrinter();
        printer = Printer();
        PrintToFile("before.pdf");
        printer.Settings = kept;
        printer.Settings.PaperBin = c.bin;
        const PrinterSettings start = printer.Settings;
        DialogResponder<PrinterSetupWindow> user([&](PrinterSetupWindow& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &window);
            EXPECT_EQ(dialog.printerBox->currentText().toStdString(), kFilePrinterName);
            EXPECT_EQ(dialog.fileEdit->text().toStdString(), before);
            EXPECT_EQ(PrinterSetupWindow::CodeOf(*dialog.paperBinBox), c.bin);
            if (c.port == after) {
                dialog.fileEdit->setText(QString::fromStdString(after));
                dialog.copiesBox->setValue(chosen.Copies);
                PrinterSetupWindow::SelectCode(*dialog.orientationBox, chosen.Orientation);
                PrinterSetupWindow::SelectCode(*dialog.colourBox, chosen.ColorMode);
                PrinterSetupWindow::SelectCode(*dialog.duplexBox, chosen.Duplex);
                PrinterSetupWindow::SelectCode(*dialog.paperBinBox, chosen.PaperBin);
                PrinterSetupWindow::SelectCode(*dialog.paperSizeBox, chosen.PaperSize);
                PrinterSetupWindow::SelectCode(*dialog.qualityBox, chosen.PrintQuality);
            }
            return c.confirm;
        });
        MenuItem(window, "Print Setup ...")->trigger();
        EXPECT_EQ(user.Shown(), 1) << c.what;
        EXPECT_EQ(printer.Settings, c.confirm ? c.expected : start) << c.what;
        EXPECT_EQ(printer.DeviceName(), kFilePrinterName) << c.what;
        EXPECT_EQ(printer.Port(), c.port) << c.what;
        EXPECT_FALSE(printer.TrackDefault()) << "switched off before the dialog: " << c.what;
    }
}

} // namespace
} // namespace quorix
