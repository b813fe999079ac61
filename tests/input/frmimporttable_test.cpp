#include "input/frmimporttable.h"

#include "support/startedapp.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Two columns of dates the reader cannot tell apart, primaries and secondaries, errors in days.
constexpr const char* kTwoDateColumns = "# invented minima of XY Abc\n"
                                        "HJD,BJD,p/s,error\n"
                                        "2459001.43121,2459001.43198,p,0.00012\n"
                                        "2459001.61873,2459001.61950,s,4.00E-05\n"
                                        "2459000.80011,2459000.80088,p,0.00110\n";

class ImportTableTest : public testing::StartedApp {
protected:
    // The observations as the rest of the program sees them.
    auto Snapshot() {
        return std::make_tuple(State().ObsTimes, State().ObsCount, State().BaseTime, State().DataFileName,
                               Main().Label6.Caption(), Main().Label8.Caption(), State().FTComputed);
    }

    frmImportTable& Import(const std::string& name, const std::string& text) {
        app.ShowImportTable(tables.Write(name, text).string());
        return *app.ImportTable();
    }
    static bool OkEnabled(const frmImportTable& dialog) {
        return dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled();
    }

    testing::TempFolder tables;
};

TEST_F(ImportTableTest, AChosenTimeColumnLoadsTimesTypesAndErrorsAsOpenDoes) {
    OpenSample();
    Main().Text3.SetText("1000");
    Compute();
    ASSERT_EQ(State().FTComputed, kTrue);
    frmImportTable& dialog = Import("xyabc.csv", kTwoDateColumns);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_THAT(dialog.refusalLabel->text().toStdString(), HasSubstr("name the time column"));
    EXPECT_FALSE(OkEnabled(dialog));
    EXPECT_EQ(dialog.headerLabel->text(), "line 2: HJD | BJD | p/s | error");
    EXPECT_EQ(dialog.separatorBox->currentText(), "comma (,)");
    EXPECT_EQ(dialog.typeBox->currentText(), "3: p/s");
    EXPECT_EQ(dialog.errorBox->currentText(), "4: error");

    dialog.timeBox->setCurrentIndex(1);
    Q_EMIT dialog.timeBox->activated(1);
    EXPECT_TRUE(OkEnabled(dialog));
    EXPECT_FALSE(dialog.refusalLabel->isVisible());
    EXPECT_EQ(dialog.countLabel->text(), "3 times, from line 3");
    EXPECT_EQ(DescribeColumns(dialog.Result()),
              R"(time: column 2 "BJD", type: column 3 "p/s", error: column 4 "error")");

    dialog.buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(State().ObsCount, 3);
    EXPECT_EQ(State().ObsTimes[1], 2459001.43198);
    EXPECT_EQ(State().ObsTimes[3], 2459000.80088);
    EXPECT_EQ(State().ObsTimes[4], 0.0) << "nothing of the longer sample is left";
    EXPECT_EQ(State().BaseTime, 2459000.80088) << "the lowest time, not the first";
    EXPECT_EQ(State().ObsTypes[2], MinimumType::kSecondary);
    EXPECT_EQ(State().ObsTypes[4], MinimumType::kUnknown);
    EXPECT_DOUBLE_EQ(State().ObsErrors[2], 4e-5);
    EXPECT_EQ(State().DataFileName, "xyabc.csv");
    EXPECT_EQ(fs::path(State().DataFolder), tables.Path());
    EXPECT_EQ(fs::current_path(), tables.Path());
    EXPECT_EQ(Main().Label6.Caption(), "xyabc.csv");
    EXPECT_EQ(Main().Label8.Caption(), " 3");
    EXPECT_TRUE(Main().Command2.Enabled());
    EXPECT_EQ(State().FTComputed, kFalse);
}

TEST_F(ImportTableTest, CancelAndRefusalsLeaveThePreviousDataAsItWas) {
    OpenSample();
    const auto before = Snapshot();

    Import("fine.csv", "BJD,type\n2459001.4312,p\n2459002.0551,s\n");
    app.ImportTable()->buttons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(app.ImportTable()->isVisible());
    EXPECT_EQ(Snapshot(), before);

    frmImportTable& blank = Import("blank.csv", "BJD,type\n2459001.4312,p\n2459002. 0551,s\n");
    EXPECT_FALSE(OkEnabled(blank));
    EXPECT_EQ(blank.refusalLabel->text(),
              R"(line 3, column 1 "BJD": a number with a blank inside ("2459002. 0551").)");
    blank.OkClicked();
    EXPECT_EQ(Snapshot(), before);

    std::string many = "BJD\n";
    for (int i = 0; i < kMaxObservations + 1; ++i) {
        many += std::to_string(2459001.25 + 0.37 * i) + "\n";
    }
    frmImportTable& large = Import("many.txt", many);
    EXPECT_TRUE(OkEnabled(large));
    EXPECT_EQ(large.warningList->count(), 1);
    large.OkClicked();
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{
                  "The table holds 501 times; at most 500 can be loaded.  Nothing was loaded."});
    EXPECT_TRUE(large.isVisible());
    EXPECT_EQ(Snapshot(), before);

    messages.Clear();
    app.ShowImportTable((tables.Path() / "missing.csv").string());
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Error: File not found."});
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ImportTableTest, TheMenuOffersImportRightAfterOpenAndANewSeparatorFindsTheColumnsAgain) {
    const QList<QAction*> file = Main().menuBar()->actions().front()->menu()->actions();
    ASSERT_GE(file.size(), 2);
    EXPECT_EQ(file[0], Main().mOpen);
    EXPECT_EQ(file[1], Main().mImportTable);
    EXPECT_EQ(Main().mImportTable->text(), "Import Table...");

    frmImportTable& dialog = Import("semi.txt", "JD;typ\n2457001,3815;0\n2457001,6302;1\n");
    EXPECT_EQ(dialog.separatorBox->currentText(), "semicolon (;)");
    EXPECT_EQ(dialog.Result().times, (std::vector<double>{2457001.3815, 2457001.6302}));
    dialog.separatorBox->setCurrentIndex(0);
    Q_EMIT dialog.separatorBox->activated(0);
    EXPECT_EQ(dialog.separatorBox->currentText(), "comma (,)");
    EXPECT_FALSE(OkEnabled(dialog)) << "split at the commas the decimals become columns of their own";
    EXPECT_FALSE(dialog.refusalLabel->text().isEmpty());
}

} // namespace
} // namespace quorix
