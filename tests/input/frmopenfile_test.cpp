#include "support/listclicks.h"
#include "support/listitems.h"
#include "support/startedapp.h"

namespace quorix {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testing::ClickRow;
using testing::Items;

// The dialog as the running program opens it with "Open Data File".
class OpenFileDialogTest : public testing::StartedApp {
protected:
    frmOpenFile& Open() {
        Main().Command1.Button()->click();
        return app.OpenFileDialog();
    }
};

TEST_F(OpenFileDialogTest, ListsFollowFolderAndTypeOkHandsOnTheNameCancelAndTheFrameOnlyHide) {
    const fs::path folder = start.Path() / "<b>Zeiten & Minima ä";
    fs::create_directories(folder / "folder.csv" / "empty"); // folders are not files
    for (const char* name : {"b.csv", "Algol ö.csv", "x.txt", ".hidden.csv"}) {
        start.Write("<b>Zeiten & Minima ä/" + std::string(name), "2450000.5\r\n");
    }
    frmOpenFile& dialog = Open();
    ASSERT_TRUE(dialog.Dir1.SetPath(folder.string()));
    EXPECT_EQ(dialog.Label4.Caption(), folder.string());
    EXPECT_EQ(static_cast<QLabel*>(dialog.Label4.Widget())->textFormat(), Qt::PlainText);
    EXPECT_EQ(Items(dialog.File1), (Names{"Algol ö.csv", "b.csv"}));
    EXPECT_EQ(dialog.Text1.Text(), "Algol ö.csv") << "the first file of the new list";
    ClickRow(dialog.File1.List(), 1);
    dialog.Text1.SetText("typed over");
    ClickRow(dialog.File1.List(), 1);
    EXPECT_EQ(dialog.Text1.Text(), "b.csv") << "pressing on the chosen file again puts it back";
    QTest::keyClick(dialog.Combo1.Combo(), Qt::Key_End); // the user picks the last type, "*.*"
    EXPECT_EQ(Items(dialog.File1), (Names{"Algol ö.csv", "b.csv", "x.txt"}));

    // Cancel, and closing by the frame, store nothing and keep the folder and the type list; each
    // opening reads the list afresh, of "*.csv" again.
    QTest::mouseClick(dialog.Command2.Button(), Qt::LeftButton);
    EXPECT_FALSE(dialog.IsShown());
    start.Write("<b>Zeiten & Minima ä/V471 Tau.csv", "2450000.5\r\n");
    Open();
    EXPECT_FALSE(dialog.close()) << "the window stays";
    EXPECT_FALSE(dialog.IsShown());
    Open();
    EXPECT_EQ(State().DataFileName, "") << "nothing is stored without OK";
    EXPECT_EQ(dialog.Label4.Caption(), folder.string());
    EXPECT_EQ(Items(dialog.Combo1), (Names{"*.csv", "*.txt", "*.dat", "*.*"}));
    EXPECT_EQ(Items(dialog.File1), (Names{"Algol ö.csv", "b.csv", "V471 Tau.csv"}));

    // OK hands on the folder and the name exactly as typed, and hides the dialog whatever the reader
    // found; a double click is OK on the chosen file.
    dialog.Text1.Edit()->clear();
    QTest::keyClicks(dialog.Text1.Edit(), "typed name.dat");
    QTest::mouseClick(dialog.Command1.Button(), Qt::LeftButton);
    EXPECT_EQ(State().DataFolder + "|" + State().DataFileName, folder.string() + "|typed name.dat");
    EXPECT_EQ(messages.Messages(), Names{"Error: File not found."});
    EXPECT_FALSE(dialog.IsShown());
    Open();
    testing::DoubleClickRow(dialog.File1.List(), 2);
    EXPECT_EQ(Main().Label6.Caption(), "V471 Tau.csv");
    EXPECT_FALSE(dialog.IsShown());

    dialog.Dir1.SetPath((folder / "folder.csv" / "empty").string());
    EXPECT_EQ(dialog.Text1.Text(), "") << "an empty folder leaves the name box empty";
}

} // namespace
} // namespace quorix
