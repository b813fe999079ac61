#include "input/frmopenfile.h"

#include "platform/messagebox.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;

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

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (int i = 0; i < dialog.File1.ListCount(); ++i) {
            names.push_back(dialog.File1.Item(i));
        }
        return names;
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

TEST_F(OpenFileDialogTest, StartsHiddenWithItsDesignAndTabOrder) {
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.Caption(), "Open Input File");
    EXPECT_EQ(dialog.DrawingSurface().palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_TRUE(dialog.font().bold());
    EXPECT_EQ(dialog.Label2.Caption(), "List Files of Type:");
    EXPECT_EQ(dialog.Label4.Caption(), QDir::currentPath().toStdString());
    EXPECT_EQ(dialog.File1.Pattern(), "*.csv");
    // At the size the design was drawn for, the layout puts everything it moves at its design place.
    EXPECT_DOUBLE_EQ(dialog.Width(), 7110);
    EXPECT_DOUBLE_EQ(dialog.Height(), 7350);
    EXPECT_DOUBLE_EQ(dialog.Combo1.Top(), 6480);
    EXPECT_DOUBLE_EQ(dialog.Label5.Top(), 6240);
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 5520);

    dialog.Show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Text1.Widget()->setFocus();
    for (const Control* next :
         std::initializer_list<const Control*>{&dialog.Combo1, &dialog.Command1, &dialog.Command2,
                                               &dialog.Drive1, &dialog.Dir1, &dialog.File1, &dialog.Text1}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next->Widget()) << next->Widget()->metaObject()->className();
    }
}

TEST_F(OpenFileDialogTest, TheListsFollowTheFolderAndTheTypeAndFillTheNameBox) {
    for (const char* name : {"b.csv", "a.csv", "x.txt", "README", "image.bin"}) {
        temp.Write(name, "2450000.5\n");
    }
    fs::create_directory(temp.Path() / "empty");
    Open();
    ASSERT_TRUE(dialog.Dir1.SetPath(temp.Path().string()));
    EXPECT_EQ(dialog.File1.Path(), temp.Path().string());
    EXPECT_EQ(dialog.Label4.Caption(), temp.Path().string());
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_EQ(dialog.Text1.Text(), "a.csv") << "the first file of the new list";

    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, FileRow(1));
    EXPECT_EQ(dialog.Text1.Text(), "b.csv");
    dialog.Text1.SetText("typed over");
    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, FileRow(1));
    EXPECT_EQ(dialog.Text1.Text(), "b.csv") << "pressing on the chosen file again puts it back";

    QTest::keyClick(dialog.Combo1.Combo(), Qt::Key_End); // the user picks the last type, "*.*"
    EXPECT_EQ(dialog.Combo1.Text(), "*.*");
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.csv", "b.csv", "image.bin", "README", "x.txt"}));

    dialog.Dir1.SetPath((temp.Path() / "empty").string());
    EXPECT_EQ(dialog.Text1.Text(), "") << "an empty folder leaves the name box empty";
    dialog.Drive1_Change();
    EXPECT_EQ(dialog.Dir1.Path(), dialog.Drive1.Drive());
    EXPECT_EQ(dialog.Label4.Caption(), dialog.Drive1.Drive());
}

TEST_F(OpenFileDialogTest, OkAndDoubleClickStoreFolderAndNameRunTheReaderThenHide) {
    const fs::path folder = temp.Path() / "<b>Zeiten & Minima ä";
    fs::create_directory(folder);
    temp.Write("<b>Zeiten & Minima ä/Algol ö.csv", "2450000.5\n");
    temp.Write("<b>Zeiten & Minima ä/Beta Lyr.csv", "2450000.5\n");
    Open();
    dialog.Dir1.SetPath(folder.string());
    EXPECT_EQ(static_cast<QLabel*>(dialog.Label4.Widget())->textFormat(), Qt::PlainText);
    dialog.Text1.Edit()->clear();
    QTest::keyClicks(dialog.Text1.Edit(), "typed name.dat");
    QTest::mouseClick(dialog.Command1.Button(), Qt::LeftButton);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(folderSeen, folder.string()) << "stored before the reader runs, exactly as named";
    EXPECT_EQ(nameSeen, "typed name.dat") << "a typed name is passed as typed";
    EXPECT_TRUE(shownWhileLoading) << "the reader's messages appear over the open dialog";
    EXPECT_FALSE(dialog.IsShown());

    Open();
    const QPoint second = FileRow(1);
    QTest::mouseClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(dialog.File1.List()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(nameSeen, "Beta Lyr.csv");
    EXPECT_EQ(state.DataFileName, "Beta Lyr.csv");
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(OpenFileDialogTest, CancelAndTheFrameOnlyHideAndEachOpeningReadsCsvAfresh) {
    fs::create_directory(temp.Path() / "sub");
    temp.Write("sub/one.csv", "1\n");
    Open();
    dialog.Dir1.SetPath((temp.Path() / "sub").string());
    QTest::mouseClick(dialog.Command2.Button(), Qt::LeftButton);
    EXPECT_FALSE(dialog.IsShown());
    temp.Write("sub/two.csv", "1\n");
    Open();
    EXPECT_EQ(dialog.Label4.Caption(), (temp.Path() / "sub").string()) << "the new folder is kept";
    EXPECT_EQ(Files(), (std::vector<std::string>{"one.csv", "two.csv"}))
        << "a file added meanwhile is listed";

    dialog.Combo1.SetListIndex(3);
    EXPECT_FALSE(dialog.close()) << "the window refuses to go away";
    EXPECT_FALSE(dialog.IsShown());
    Open();
    EXPECT_EQ(dialog.Combo1.ListCount(), 4);
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    EXPECT_EQ(Files(), (std::vector<std::string>{"one.csv", "two.csv"}));
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(state.DataFolder, "") << "nothing is stored without OK";
}

TEST_F(OpenFileDialogTest, ResizeLaysOutTheColumnsAndKeepsTheSmallestSize) {
    dialog.Show();
    dialog.SetWidth(7830);
    for (const Control* control :
         std::initializer_list<const Control*>{&dialog.Text1, &dialog.File1, &dialog.Combo1}) {
        EXPECT_DOUBLE_EQ(control->Width(), 3015);
        EXPECT_DOUBLE_EQ(control->Left(), 120);
    }
    EXPECT_DOUBLE_EQ(dialog.Dir1.Width(), 2655);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Width(), 2655);
    for (const Control* control : std::initializer_list<const Control*>{
             &dialog.Label3, &dialog.Label4, &dialog.Dir1, &dialog.Label5, &dialog.Drive1}) {
        EXPECT_DOUBLE_EQ(control->Left(), 3360);
    }
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 6240);
    EXPECT_DOUBLE_EQ(dialog.Command2.Left(), 6240);

    dialog.SetHeight(6000);
    EXPECT_DOUBLE_EQ(dialog.File1.Height(), 3900);
    EXPECT_DOUBLE_EQ(dialog.Label2.Top(), 4890);
    EXPECT_DOUBLE_EQ(dialog.Combo1.Top(), 5130);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Height(), 4110);
    EXPECT_DOUBLE_EQ(dialog.Label5.Top(), 4890);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Top(), 5130);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Top(), 720) << "tops the layout does not name keep their design";

    dialog.SetWidth(5000);
    dialog.SetHeight(1000);
    EXPECT_DOUBLE_EQ(dialog.Width(), 6525);
    EXPECT_DOUBLE_EQ(dialog.Height(), 3540);
    EXPECT_DOUBLE_EQ(dialog.Text1.Width(), 2362.5);
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 4935);
    EXPECT_DOUBLE_EQ(dialog.File1.Height(), 1440);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Top(), 2670);
    dialog.resize(100, 60); // as a user dragging the frame far inwards
    EXPECT_GE(dialog.Width(), 6525 - TwipsPerPixel());
    EXPECT_GE(dialog.Height(), 3540 - TwipsPerPixel());
}

} // namespace
} // namespace quorix
