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

// A double click as the window system delivers it: press, release, double-click press, release.
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

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

    // Stands in for the reader: notes what it was handed and may complain as the reader does.
    void LoadFile() {
        ++loads;
        folderSeen = state.DataFolder;
        nameSeen = state.DataFileName;
        shownWhileLoading = dialog.IsShown();
        if (nameSeen.empty()) {
            MessageBox("File not found");
        }
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
    frmOpenFile dialog{state, [this] { LoadFile(); }};
};

TEST_F(OpenFileDialogTest, StartsHiddenWithItsDesign) {
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(dialog.Caption(), "Open Input File");
    EXPECT_EQ(dialog.DrawingSurface().palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_TRUE(dialog.font().bold());
    EXPECT_DOUBLE_EQ(dialog.font().pointSizeF(), 8.25);
    EXPECT_EQ(dialog.Label1.Caption(), "File Name:");
    EXPECT_EQ(dialog.Label2.Caption(), "List Files of Type:");
    EXPECT_EQ(dialog.Label3.Caption(), "Directories:");
    EXPECT_EQ(dialog.Label5.Caption(), "Drives:");
    EXPECT_EQ(dialog.Command1.Caption(), "OK");
    EXPECT_EQ(dialog.Command2.Caption(), "Cancel");
    EXPECT_EQ(dialog.Text1.Text(), "");
    EXPECT_EQ(dialog.Label4.Caption(), QDir::currentPath().toStdString());
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    EXPECT_EQ(dialog.File1.Pattern(), "*.csv");
    EXPECT_EQ(dialog.File1.Path(), dialog.Dir1.Path());

    // The size the design was drawn for: the lower labels, lists and the buttons at their design places.
    EXPECT_DOUBLE_EQ(dialog.Width(), 7110);
    EXPECT_DOUBLE_EQ(dialog.Height(), 7350);
    EXPECT_DOUBLE_EQ(dialog.Label2.Top(), 6240);
    EXPECT_DOUBLE_EQ(dialog.Combo1.Top(), 6480);
    EXPECT_DOUBLE_EQ(dialog.Label5.Top(), 6240);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Top(), 6480);
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 5520);
    EXPECT_DOUBLE_EQ(dialog.Command2.Top(), 1200);
}

TEST_F(OpenFileDialogTest, TabMovesThroughTheControlsInTheirOrder) {
    dialog.Show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.Text1.Widget()->setFocus();
    const std::vector<QWidget*> expected = {
        dialog.Combo1.Widget(), dialog.Command1.Widget(), dialog.Command2.Widget(), dialog.Drive1.Widget(),
        dialog.Dir1.Widget(),   dialog.File1.Widget(),    dialog.Text1.Widget()};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
    }
}

TEST_F(OpenFileDialogTest, AFolderChangeCarriesToTheFileListLabelAndNameBox) {
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

    dialog.Combo1.Combo()->setFocus();
    QTest::keyClick(dialog.Combo1.Combo(), Qt::Key_End); // the user picks the last type, "*.*"
    EXPECT_EQ(dialog.Combo1.Text(), "*.*");
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.csv", "b.csv", "image.bin", "README", "x.txt"}));
    EXPECT_EQ(dialog.Text1.Text(), "b.csv") << "a new type leaves the name box alone";

    dialog.Dir1.SetPath((temp.Path() / "empty").string());
    EXPECT_EQ(dialog.Text1.Text(), "") << "an empty folder leaves the name box empty";
    dialog.Command1_Click();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(nameSeen, "") << "OK passes the empty name on; the reader reports it";
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(OpenFileDialogTest, OkStoresFolderAndNameRunsTheReaderThenHides) {
    temp.Write("minima.csv", "2450000.5\n");
    Open();
    dialog.Dir1.SetPath(temp.Path().string());
    dialog.Text1.Edit()->clear();
    QTest::keyClicks(dialog.Text1.Edit(), "other name.dat");
    QTest::mouseClick(dialog.Command1.Button(), Qt::LeftButton);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(folderSeen, temp.Path().string()) << "stored before the reader runs";
    EXPECT_EQ(nameSeen, "other name.dat") << "a typed name is passed as typed";
    EXPECT_TRUE(shownWhileLoading) << "the reader's messages appear over the open dialog";
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(state.DataFolder, temp.Path().string());
    EXPECT_EQ(state.DataFileName, "other name.dat");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(OpenFileDialogTest, DoubleClickOnAFileChoosesItAsOk) {
    for (const char* name : {"first.csv", "second.csv"}) {
        temp.Write(name, "2450000.5\n");
    }
    Open();
    dialog.Dir1.SetPath(temp.Path().string());
    DoubleClick(dialog.File1.List()->viewport(), FileRow(1));
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(nameSeen, "second.csv");
    EXPECT_EQ(folderSeen, temp.Path().string());
    EXPECT_EQ(dialog.Text1.Text(), "second.csv");
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(OpenFileDialogTest, CancelKeepsTheNewFolderForTheNextOpening) {
    fs::create_directory(temp.Path() / "sub");
    temp.Write("sub/late.csv", "1\n");
    Open();
    dialog.Dir1.SetPath((temp.Path() / "sub").string());
    QTest::mouseClick(dialog.Command2.Button(), Qt::LeftButton);
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(state.DataFolder, "") << "Cancel stores nothing";
    Open();
    EXPECT_EQ(dialog.Dir1.Path(), (temp.Path() / "sub").string());
    EXPECT_EQ(dialog.Label4.Caption(), (temp.Path() / "sub").string());
    EXPECT_EQ(dialog.Text1.Text(), "late.csv");
}

TEST_F(OpenFileDialogTest, ClosingByTheFrameIsCancelAndTheDialogComesBackWhole) {
    temp.Write("a.csv", "1\n");
    Open();
    dialog.Dir1.SetPath(temp.Path().string());
    dialog.Combo1.SetListIndex(2);
    EXPECT_FALSE(dialog.close()) << "the window refuses to go away";
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(loads, 0);
    Open();
    EXPECT_TRUE(dialog.IsShown());
    ASSERT_EQ(dialog.Combo1.ListCount(), 4);
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    EXPECT_EQ(Files(), std::vector<std::string>{"a.csv"});
    EXPECT_EQ(dialog.Dir1.Path(), temp.Path().string());
}

TEST_F(OpenFileDialogTest, EachOpeningShowsCsvFilesReadAfresh) {
    temp.Write("one.csv", "1\n");
    temp.Write("one.txt", "1\n");
    Open();
    dialog.Dir1.SetPath(temp.Path().string());
    EXPECT_EQ(Files(), std::vector<std::string>{"one.csv"});
    dialog.Command2_Click();
    temp.Write("two.csv", "1\n");
    Open();
    EXPECT_EQ(dialog.Combo1.ListIndex(), 0);
    EXPECT_EQ(dialog.Combo1.Text(), "*.csv");
    EXPECT_EQ(Files(), (std::vector<std::string>{"one.csv", "two.csv"}))
        << "a file added meanwhile is listed";
}

TEST_F(OpenFileDialogTest, ResizeLaysOutTheColumnsAndKeepsTheSmallestSize) {
    dialog.Show();
    dialog.SetWidth(7830);
    EXPECT_DOUBLE_EQ(dialog.Text1.Width(), 3015);
    EXPECT_DOUBLE_EQ(dialog.File1.Width(), 3015);
    EXPECT_DOUBLE_EQ(dialog.Combo1.Width(), 3015);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Width(), 2655);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Width(), 2655);
    for (const Control* control : std::initializer_list<const Control*>{
             &dialog.Label3, &dialog.Label4, &dialog.Dir1, &dialog.Label5, &dialog.Drive1}) {
        EXPECT_DOUBLE_EQ(control->Left(), 3360);
    }
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 6240);
    EXPECT_DOUBLE_EQ(dialog.Command2.Left(), 6240);
    for (const Control* control : std::initializer_list<const Control*>{
             &dialog.Label1, &dialog.Text1, &dialog.File1, &dialog.Label2, &dialog.Combo1}) {
        EXPECT_DOUBLE_EQ(control->Left(), 120);
    }

    dialog.SetHeight(6000);
    EXPECT_DOUBLE_EQ(dialog.File1.Height(), 3900);
    EXPECT_DOUBLE_EQ(dialog.Label2.Top(), 4890);
    EXPECT_DOUBLE_EQ(dialog.Combo1.Top(), 5130);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Height(), 4110);
    EXPECT_DOUBLE_EQ(dialog.Label5.Top(), 4890);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Top(), 5130);
    EXPECT_DOUBLE_EQ(dialog.File1.Top(), 840) << "tops not named by the layout keep their design";
    EXPECT_DOUBLE_EQ(dialog.Dir1.Top(), 720);
    EXPECT_DOUBLE_EQ(dialog.Command2.Top(), 1200);

    dialog.SetWidth(5000);
    EXPECT_DOUBLE_EQ(dialog.Width(), 6525) << "too narrow snaps back";
    EXPECT_DOUBLE_EQ(dialog.Text1.Width(), 2362.5);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Width(), 2002.5);
    EXPECT_DOUBLE_EQ(dialog.Command1.Left(), 4935);
    dialog.SetHeight(1000);
    EXPECT_DOUBLE_EQ(dialog.Height(), 3540) << "too low snaps back";
    EXPECT_DOUBLE_EQ(dialog.File1.Height(), 1440);
    EXPECT_DOUBLE_EQ(dialog.Dir1.Height(), 1650);
    EXPECT_DOUBLE_EQ(dialog.Drive1.Top(), 2670);

    dialog.resize(100, 60); // as a user dragging the frame far inwards
    EXPECT_GE(dialog.Width(), 6525 - TwipsPerPixel());
    EXPECT_GE(dialog.Height(), 3540 - TwipsPerPixel());
    EXPECT_GE(dialog.File1.Height(), 1440 - TwipsPerPixel());
}

TEST_F(OpenFileDialogTest, FolderNamesWithBlanksMarkupAndAccentsArriveExactly) {
    const fs::path folder = temp.Path() / "<b>Zeiten & Minima ä";
    fs::create_directory(folder);
    temp.Write("<b>Zeiten & Minima ä/Algol ö.csv", "2450000.5\n");
    Open();
    dialog.Dir1.SetPath(folder.string());
    EXPECT_EQ(dialog.Label4.Caption(), folder.string());
    EXPECT_EQ(static_cast<QLabel*>(dialog.Label4.Widget())->textFormat(), Qt::PlainText);
    EXPECT_EQ(dialog.Text1.Text(), "Algol ö.csv");
    dialog.Command1_Click();
    EXPECT_EQ(folderSeen, folder.string());
    EXPECT_EQ(nameSeen, "Algol ö.csv");
}

TEST_F(OpenFileDialogTest, ChoosingADriveGoesToItsTopFolder) {
    dialog.Dir1.SetPath(temp.Path().string());
    dialog.Drive1_Change();
    EXPECT_EQ(dialog.Dir1.Path(), dialog.Drive1.Drive());
    EXPECT_EQ(dialog.Label4.Caption(), dialog.Drive1.Drive());
    EXPECT_EQ(dialog.File1.Path(), dialog.Drive1.Drive());
}

} // namespace
} // namespace quorix
