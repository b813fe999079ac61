#include "input/frmopenfile.h"

#include "platform/messagebox.h"
#include "support/listclicks.h"
#include "support/listitems.h"
#include "support/tempfolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using Controls = std::initializer_list<const Control*>;
using Names = std::vector<std::string>;
using testing::ClickRow;
using testing::Items;

class OpenFileDialogTest : public ::testing::Test {
protected:
    OpenFileDialogTest() {
        // As the main window prepares the dialog when the program starts.
        for (const char* pattern : {"*.csv", "*.txt", "*.dat", "*.*"}) {
            dialog.Combo1.AddItem(pattern);
        }
        dialog.Combo1.SetListIndex(0);
        dialog.Label4.SetCaption(dialog.Dir1.Path());
    }

    // As "Open Data File" opens it: through "*.txt", shown, back to "*.csv".
    void Open() {
        dialog.Combo1.SetListIndex(1);
        dialog.Show();
        dialog.Combo1.SetListIndex(0);
    }

    MessageRecorder messages;
    testing::TempFolder temp;
    SharedState state;
    // Stands in for the reader: notes the folder and the name it was handed, and whether the dialog
    // still showed.
    Names loads;
    frmOpenFile dialog{state, [this] {
                           loads.push_back(state.DataFolder + "|" + state.DataFileName +
                                           (dialog.IsShown() ? "|shown" : ""));
                       }};
};

TEST_F(OpenFileDialogTest, TheListsFollowTheFolderAndTheTypeAndFillTheNameBox) {
    for (const char* name : {"b.csv", "a.csv", "x.txt", "README", "image.bin", ".hidden.csv"}) {
        temp.Write(name, "2450000.5\n");
    }
    fs::create_directories(temp.Path() / "folder.csv" / "empty"); // folders are not files
    Open();
    ASSERT_TRUE(dialog.Dir1.SetPath(temp.Path().string()));
    EXPECT_EQ(dialog.Label4.Caption(), temp.Path().string());
    EXPECT_EQ(Items(dialog.File1), (Names{"a.csv", "b.csv"}));
    EXPECT_EQ(dialog.Text1.Text(), "a.csv") << "the first file of the new list";

    ClickRow(dialog.File1.List(), 1);
    EXPECT_EQ(dialog.Text1.Text(), "b.csv");
    dialog.Text1.SetText("typed over");
    ClickRow(dialog.File1.List(), 1);
    EXPECT_EQ(dialog.Text1.Text(), "b.csv") << "pressing on the chosen file again puts it back";

    QTest::keyClick(dialog.Combo1.Combo(), Qt::Key_End); // the user picks the last type, "*.*"
    EXPECT_EQ(Items(dialog.File1), (Names{"a.csv", "b.csv", "image.bin", "README", "x.txt"}));
    ClickRow(dialog.File1.List(), 1);
    QTest::keyClick(dialog.File1.List(), Qt::Key_Down);
    EXPECT_EQ(dialog.Text1.Text(), "image.bin") << "moving with the keyboard chooses too";
    dialog.Dir1.SetPath((temp.Path() / "folder.csv" / "empty").string());
    EXPECT_EQ(dialog.Text1.Text(), "") << "an empty folder leaves the name box empty";
    dialog.Drive1_Change();
    EXPECT_EQ(dialog.Dir1.Path(), dialog.Drive1.Drive());
}

TEST_F(OpenFileDialogTest, OkStoresFolderAndNameAndRunsTheReaderCancelAndTheFrameOnlyHide) {
    const fs::path folder = temp.Path() / "<b>Zeiten & Minima ä";
    fs::create_directory(folder);
    temp.Write("<b>Zeiten & Minima ä/Algol ö.csv", "2450000.5\n");
    Open();
    dialog.Dir1.SetPath(folder.string());
    QTest::mouseClick(dialog.Command2.Button(), Qt::LeftButton);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(state.DataFolder, "") << "nothing is stored without OK";
    temp.Write("<b>Zeiten & Minima ä/Beta Lyr.csv", "2450000.5\n");
    Open();
    EXPECT_EQ(dialog.Label4.Caption(), folder.string()) << "Cancel keeps the new folder";
    EXPECT_EQ(static_cast<QLabel*>(dialog.Label4.Widget())->textFormat(), Qt::PlainText);
    EXPECT_EQ(Items(dialog.File1), (Names{"Algol ö.csv", "Beta Lyr.csv"})) << "read afresh";

    dialog.Text1.Edit()->clear();
    QTest::keyClicks(dialog.Text1.Edit(), "typed name.dat");
    QTest::mouseClick(dialog.Command1.Button(), Qt::LeftButton);
    // Stored before the reader runs, exactly as named and typed; its messages appear over the dialog.
    EXPECT_EQ(loads, Names{folder.string() + "|typed name.dat|shown"});
    EXPECT_FALSE(dialog.IsShown());

    Open();
    dialog.Combo1.SetListIndex(3);
    EXPECT_FALSE(dialog.close()) << "closing by the frame is Cancel: the window stays";
    EXPECT_FALSE(dialog.IsShown());
    Open();
    EXPECT_EQ(Items(dialog.Combo1), (Names{"*.csv", "*.txt", "*.dat", "*.*"}));
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    testing::DoubleClickRow(dialog.File1.List(), 1);
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[1], folder.string() + "|Beta Lyr.csv|shown") << "a double click is OK on the chosen file";
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(OpenFileDialogTest, TabsInOrderAndLaysOutTheColumnsForTheSmallestSize) {
    dialog.Show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Text1.Widget()->setFocus();
    for (const Control* next : Controls{&dialog.Combo1, &dialog.Command1, &dialog.Command2, &dialog.Drive1,
                                        &dialog.Dir1, &dialog.File1, &dialog.Text1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next->Widget()) << next->Widget()->metaObject()->className();
    }

    // Below the smallest size the window snaps back to 6525 by 3540 and lays out its columns for that.
    dialog.SetWidth(5000);
    dialog.SetHeight(1000);
    const auto expect = [](Controls controls, double (Control::*measure)() const, double value) {
        for (const Control* control : controls) {
            EXPECT_DOUBLE_EQ((control->*measure)(), value) << control->Widget()->metaObject()->className();
        }
    };
    expect({&dialog.Text1, &dialog.File1, &dialog.Combo1}, &Control::Width, 2362.5);
    expect({&dialog.Dir1, &dialog.Drive1}, &Control::Width, 2002.5);
    expect({&dialog.Label3, &dialog.Label4, &dialog.Dir1, &dialog.Label5, &dialog.Drive1}, &Control::Left,
           2707.5);
    expect({&dialog.Command1, &dialog.Command2}, &Control::Left, 4935);
    expect({&dialog.File1}, &Control::Height, 1440);
    expect({&dialog.Dir1}, &Control::Height, 1650);
    expect({&dialog.Label2, &dialog.Label5}, &Control::Top, 2430);
    expect({&dialog.Combo1, &dialog.Drive1}, &Control::Top, 2670);
    expect({&dialog.Dir1}, &Control::Top, 720); // tops the layout does not name keep their design
    EXPECT_DOUBLE_EQ(dialog.Width(), 6525);
    EXPECT_DOUBLE_EQ(dialog.Height(), 3540);
    dialog.resize(100, 60); // as a user dragging the frame far inwards
    EXPECT_GE(dialog.Width(), 6525 - TwipsPerPixel());
    EXPECT_GE(dialog.Height(), 3540 - TwipsPerPixel());
}

} // namespace
} // namespace quorix
