#include "input/frmopenfile.h"

#include "platform/messagebox.h"
#include "support/listitems.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;
using Controls = std::initializer_list<const Control*>;

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

    QPoint FileRow(int row) const {
        return dialog.File1.List()->visualItemRect(dialog.File1.List()->item(row)).center();
    }

    MessageRecorder messages;
    testing::TempFolder temp;
    SharedState state;
    int loads = 0;
    std::string folderSeen, nameSeen;
    bool shownWhileLoading = false;
    // Stands in for the reader: notes what it was handed.
    frmOpenFile dialog{state, [this] {
                           ++loads;
                           folderSeen = state.DataFolder;
                           nameSeen = state.DataFileName;
                           shownWhileLoading = dialog.IsShown();
                       }};
};

TEST_F(OpenFileDialogTest, TheListsFollowTheFolderAndTheTypeAndFillTheNameBox) {
    for (const char* name : {"b.csv", "a.csv", "x.txt", "README", "image.bin"}) {
        temp.Write(name, "2450000.5\n");
    }
    fs::create_directory(temp.Path() / "empty");
    Open();
    ASSERT_TRUE(dialog.Dir1.SetPath(temp.Path().string()));
    EXPECT_EQ(dialog.File1.Path(), temp.Path().string());
    EXPECT_EQ(dialog.Label4.Caption(), temp.Path().string());
    EXPECT_EQ(testing::Items(dialog.File1), (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_EQ(dialog.Text1.Text(), "a.csv") << "the first file of the new list";

    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, FileRow(1));
    EXPECT_EQ(dialog.Text1.Text(), "b.csv");
    dialog.Text1.SetText("typed over");
    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, FileRow(1));
    EXPECT_EQ(dialog.Text1.Text(), "b.csv") << "pressing on the chosen file again puts it back";

    QTest::keyClick(dialog.Combo1.Combo(), Qt::Key_End); // the user picks the last type, "*.*"
    EXPECT_EQ(dialog.Combo1.Text(), "*.*");
    EXPECT_EQ(testing::Items(dialog.File1),
              (std::vector<std::string>{"a.csv", "b.csv", "image.bin", "README", "x.txt"}));

    dialog.Dir1.SetPath((temp.Path() / "empty").string());
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
    EXPECT_EQ(testing::Items(dialog.File1), (std::vector<std::string>{"Algol ö.csv", "Beta Lyr.csv"}))
        << "read afresh";

    dialog.Text1.Edit()->clear();
    QTest::keyClicks(dialog.Text1.Edit(), "typed name.dat");
    QTest::mouseClick(dialog.Command1.Button(), Qt::LeftButton);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(folderSeen, folder.string()) << "stored before the reader runs, exactly as named";
    EXPECT_EQ(nameSeen, "typed name.dat") << "a typed name is passed as typed";
    EXPECT_TRUE(shownWhileLoading) << "the reader's messages appear over the open dialog";
    EXPECT_FALSE(dialog.IsShown());

    Open();
    dialog.Combo1.SetListIndex(3);
    EXPECT_FALSE(dialog.close()) << "closing by the frame is Cancel: the window stays";
    EXPECT_FALSE(dialog.IsShown());
    Open();
    EXPECT_EQ(dialog.Combo1.ListCount(), 4);
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    const QPoint second = FileRow(1);
    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(nameSeen, "Beta Lyr.csv") << "a double click is OK on the chosen file";
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(OpenFileDialogTest, StartsHiddenTabsInOrderAndLaysOutTheColumnsOnResize) {
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_DOUBLE_EQ(dialog.Width(), 7110);
    EXPECT_DOUBLE_EQ(dialog.Height(), 7350);
    dialog.Show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Text1.Widget()->setFocus();
    for (const Control* next : Controls{&dialog.Combo1, &dialog.Command1, &dialog.Command2, &dialog.Drive1,
                                        &dialog.Dir1, &dialog.File1, &dialog.Text1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next->Widget()) << next->Widget()->metaObject()->className();
    }

    struct Layout {
        double width, height;                                  // asked for
        double nameWidth, folderWidth, folderLeft, buttonLeft; // the columns
        double fileHeight, folderHeight, lowerLabelTop, lowerListTop;
    };
    // As created, then a user's size, then one below the smallest, which snaps back to 6525 by 3540.
    const Layout cases[] = {{7110, 7350, 2655, 2295, 3000, 5520, 5250, 5460, 6240, 6480},
                            {7830, 6000, 3015, 2655, 3360, 6240, 3900, 4110, 4890, 5130},
                            {5000, 1000, 2362.5, 2002.5, 2707.5, 4935, 1440, 1650, 2430, 2670}};
    for (const Layout& c : cases) {
        dialog.SetWidth(c.width);
        dialog.SetHeight(c.height);
        const auto expect = [&c](Controls controls, double (Control::*measure)() const, double value) {
            for (const Control* control : controls) {
                EXPECT_DOUBLE_EQ((control->*measure)(), value) << c.width << " x " << c.height;
            }
        };
        expect({&dialog.Text1, &dialog.File1, &dialog.Combo1}, &Control::Width, c.nameWidth);
        expect({&dialog.Dir1, &dialog.Drive1}, &Control::Width, c.folderWidth);
        expect({&dialog.Label3, &dialog.Label4, &dialog.Dir1, &dialog.Label5, &dialog.Drive1}, &Control::Left,
               c.folderLeft);
        expect({&dialog.Command1, &dialog.Command2}, &Control::Left, c.buttonLeft);
        expect({&dialog.File1}, &Control::Height, c.fileHeight);
        expect({&dialog.Dir1}, &Control::Height, c.folderHeight);
        expect({&dialog.Label2, &dialog.Label5}, &Control::Top, c.lowerLabelTop);
        expect({&dialog.Combo1, &dialog.Drive1}, &Control::Top, c.lowerListTop);
        expect({&dialog.Dir1}, &Control::Top, 720); // tops the layout does not name keep their design
    }
    EXPECT_DOUBLE_EQ(dialog.Width(), 6525);
    EXPECT_DOUBLE_EQ(dialog.Height(), 3540);
    dialog.resize(100, 60); // as a user dragging the frame far inwards
    EXPECT_GE(dialog.Width(), 6525 - TwipsPerPixel());
    EXPECT_GE(dialog.Height(), 3540 - TwipsPerPixel());
}

} // namespace
} // namespace quorix
