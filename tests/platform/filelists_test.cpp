#include "platform/filelists.h"

#include "support/tempfolder.h"

#include <QDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;

// A shown window to put one list on, so that its rows have places to click.
struct Host {
    Host() {
        window.resize(400, 400);
        window.show();
    }
    QWidget window;
};

// A double click as the window system delivers it: press, release, double-click press, release.
void DoubleClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

QPoint RowCentre(QListWidget* list, int row) {
    return list->visualItemRect(list->item(row)).center();
}

std::vector<std::string> Items(const FileListBox& files) {
    std::vector<std::string> items;
    for (int i = 0; i < files.ListCount(); ++i) {
        items.push_back(files.Item(i));
    }
    return items;
}

TEST(DriveRootsTest, KeepsRealVolumesAfterTheRootAndLeavesOutTheSystemsOwn) {
    const std::vector<MountEntry> mounts = {
        {"/", "ext4"},
        {"/proc", "proc"},
        {"/sys/fs/cgroup/cpu", "cgroup"},
        {"/run", "tmpfs"},
        {"/run/user/1000", "tmpfs"},
        {"/dev/shm", "tmpfs"},
        {"/mnt/scratch", "tmpfs"},
        {"/snap/core/17", "squashfs"},
        {"/boot/efi", "vfat"},
        {"/var/lib/docker/overlay2/x/merged", "overlay"},
        {"/etc/hosts", "ext4"},
        {"/media/anna/USB STICK", "vfat"},
        {"/run/media/anna/Disk", "exfat"},
        {"/home", "ext4"},
        {"/mnt/archive/", "nfs4"},
        {"/home", "ext4"},
    };
    EXPECT_EQ(PickDriveRoots(mounts), (std::vector<std::string>{"/", "/home", "/media/anna/USB STICK",
                                                                "/mnt/archive", "/run/media/anna/Disk"}));
    EXPECT_EQ(PickDriveRoots({}), std::vector<std::string>{"/"}) << "the root is always there";
    const std::vector<std::string> mounted = MountedDriveRoots();
    ASSERT_FALSE(mounted.empty());
    EXPECT_EQ(mounted.front(), "/");
}

TEST(DriveRootsTest, TheDriveOfAPathIsTheDeepestVolumeOnAWholeFolderBoundary) {
    const std::vector<std::string> roots = {"/", "/media/usb", "/media/usb/inner", "/home/"};
    EXPECT_EQ(DriveOfPath(roots, "/media/usb/data/x.txt"), "/media/usb");
    EXPECT_EQ(DriveOfPath(roots, "/media/usb"), "/media/usb");
    EXPECT_EQ(DriveOfPath(roots, "/media/usb/inner/a"), "/media/usb/inner");
    EXPECT_EQ(DriveOfPath(roots, "/media/usb2/a"), "/") << "a longer name is not a sub-folder";
    EXPECT_EQ(DriveOfPath(roots, "/home/anna"), "/home");
    EXPECT_EQ(DriveOfPath(roots, "/tmp"), "/");
}

TEST(FilePatternTest, MatchesAsTheClassicTypeListsDo) {
    EXPECT_TRUE(MatchesFilePattern("minima.csv", "*.csv"));
    EXPECT_TRUE(MatchesFilePattern("MINIMA.CSV", "*.csv")) << "letters match in either case";
    EXPECT_FALSE(MatchesFilePattern("minima.csv.bak", "*.csv"));
    EXPECT_FALSE(MatchesFilePattern("minimacsv", "*.csv"));
    EXPECT_TRUE(MatchesFilePattern("README", "*.*")) << "a name without extension is every file too";
    EXPECT_TRUE(MatchesFilePattern("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesFilePattern("data", "data.*"));
    EXPECT_TRUE(MatchesFilePattern("data.txt", "data.*"));
    EXPECT_FALSE(MatchesFilePattern("database", "data.*"));
    EXPECT_TRUE(MatchesFilePattern("b.dat", "*.txt; *.dat"));
    EXPECT_FALSE(MatchesFilePattern("b.csv", "*.txt;*.dat"));
    EXPECT_TRUE(MatchesFilePattern("r1.txt", "r?.txt"));
    EXPECT_FALSE(MatchesFilePattern("r12.txt", "r?.txt"));
    EXPECT_TRUE(MatchesFilePattern("Zeiten Ä.TXT", "*.txt")) << "non-ASCII letters and blanks";
    EXPECT_TRUE(MatchesFilePattern("anything", ""));
}

TEST(FileListBoxTest, ListsTheMatchingFilesSortedWithoutFoldersOrHiddenFiles) {
    testing::TempFolder temp;
    for (const char* name : {"b.txt", "A.TXT", "c.csv", "Ärger.txt", "a b.txt", ".hidden.txt", "notes"}) {
        temp.Write(name, "1\n");
    }
    fs::create_directory(temp.Path() / "folder.txt");
    QWidget host;
    FileListBox files(&host);
    EXPECT_EQ(files.Path(), QDir::currentPath().toStdString()) << "starts in the current folder";
    EXPECT_EQ(files.Pattern(), "*.*");
    files.SetPath(temp.Path().string());
    EXPECT_EQ(Items(files),
              (std::vector<std::string>{"a b.txt", "A.TXT", "b.txt", "c.csv", "notes", "Ärger.txt"}));
    files.SetPattern("*.txt");
    EXPECT_EQ(Items(files), (std::vector<std::string>{"a b.txt", "A.TXT", "b.txt", "Ärger.txt"}));
    EXPECT_EQ(files.ListIndex(), -1);
    EXPECT_EQ(files.FileName(), "");

    temp.Write("d.txt", "1\n");
    files.SetPattern("*.txt");
    EXPECT_EQ(files.ListCount(), 5) << "setting the same pattern reads the folder again";
    files.SetPath((temp.Path() / "missing").string());
    EXPECT_EQ(files.ListCount(), 0) << "a folder that is not there lists nothing";
    EXPECT_EQ(files.Item(0), "");
}

TEST(FileListBoxTest, ClickPressAndDoubleClickReachTheirHandlers) {
    testing::TempFolder temp;
    temp.Write("one.txt", "1\n");
    temp.Write("two.txt", "2\n");
    Host host;
    FileListBox files(&host.window);
    files.Place(0, 0, 3000, 3000);
    files.SetPath(temp.Path().string());
    int clicks = 0, presses = 0, doubles = 0;
    std::string seenOnPress;
    files.OnClick([&] { ++clicks; });
    files.OnMouseDown([&] {
        ++presses;
        seenOnPress = files.FileName();
    });
    files.OnDblClick([&] { ++doubles; });

    QTest::mouseClick(files.List()->viewport(), Qt::LeftButton, {}, RowCentre(files.List(), 1));
    EXPECT_EQ(files.FileName(), "two.txt");
    EXPECT_EQ(files.ListIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(seenOnPress, "two.txt") << "the press is reported once the selection has moved";
    QTest::mouseClick(files.List()->viewport(), Qt::LeftButton, {}, RowCentre(files.List(), 1));
    EXPECT_EQ(clicks, 1) << "the selection did not move";
    EXPECT_EQ(presses, 2) << "but the press is still reported";

    files.SetListIndex(0);
    EXPECT_EQ(clicks, 2) << "choosing a row by code is a click too";
    EXPECT_EQ(files.FileName(), "one.txt");
    QTest::keyClick(files.List(), Qt::Key_Down);
    EXPECT_EQ(files.FileName(), "two.txt");
    EXPECT_EQ(clicks, 3) << "and so is moving with the keyboard";

    DoubleClick(files.List()->viewport(), RowCentre(files.List(), 0));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(files.FileName(), "one.txt");
    DoubleClick(files.List()->viewport(), QPoint(5, 2000 / 15));
    EXPECT_EQ(doubles, 1) << "a double click below the rows chooses nothing";
}

TEST(DirListBoxTest, ShowsThePathFromTheRootThenTheSubFolders) {
    testing::TempFolder temp;
    const fs::path base = temp.Path() / "Messungen ä";
    for (const char* name : {"zeta", "Alpha", "beta", ".hidden"}) {
        fs::create_directories(base / name);
    }
    temp.Write("Messungen ä/file.txt", "1\n");
    QWidget host;
    DirListBox folders(&host);
    EXPECT_EQ(folders.Path(), QDir::currentPath().toStdString());
    int changes = 0;
    folders.OnChange([&] { ++changes; });

    ASSERT_TRUE(folders.SetPath(base.string()));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(folders.Path(), base.string());
    std::vector<std::string> rows;
    for (int i = 0; i < folders.ListCount(); ++i) {
        rows.push_back(folders.Item(i));
    }
    std::vector<std::string> expected{"/"};
    fs::path reached = "/";
    for (const auto& part : base.relative_path()) {
        reached /= part;
        expected.push_back(reached.string());
    }
    const int current = static_cast<int>(expected.size()) - 1;
    for (const char* name : {"Alpha", "beta", "zeta"}) {
        expected.push_back((base / name).string());
    }
    EXPECT_EQ(rows, expected) << "no files, no hidden folders, sorted without regard to case";
    EXPECT_EQ(folders.ListIndex(), current) << "the current folder is the highlighted row";
    EXPECT_EQ(folders.List()->item(current)->text().toStdString(), "Messungen ä");

    EXPECT_TRUE(folders.SetPath(base.string() + "/"));
    EXPECT_EQ(changes, 1) << "the same folder is no change";
    EXPECT_FALSE(folders.SetPath((base / "missing").string()));
    EXPECT_FALSE(folders.SetPath((base / "file.txt").string()));
    EXPECT_FALSE(folders.SetPath(""));
    EXPECT_EQ(folders.Path(), base.string()) << "a refused path changes nothing";
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(folders.SetPath((base / "beta" / "..").string()));
    EXPECT_EQ(folders.Path(), base.string()) << "paths are kept in their plain form";
}

TEST(DirListBoxTest, DoubleClickOrEnterOpensARow) {
    testing::TempFolder temp;
    fs::create_directories(temp.Path() / "a" / "deeper");
    fs::create_directories(temp.Path() / "b");
    Host host;
    DirListBox folders(&host.window);
    folders.Place(0, 0, 5000, 5000);
    ASSERT_TRUE(folders.SetPath(temp.Path().string()));
    std::vector<std::string> seen;
    folders.OnChange([&] { seen.push_back(folders.Path()); });

    const int current = folders.ListIndex();
    DoubleClick(folders.List()->viewport(), RowCentre(folders.List(), current + 1));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.back(), (temp.Path() / "a").string());
    EXPECT_EQ(folders.Item(folders.ListCount() - 1), (temp.Path() / "a" / "deeper").string());

    QTest::mouseClick(folders.List()->viewport(), Qt::LeftButton, {}, RowCentre(folders.List(), current));
    EXPECT_EQ(seen.size(), 1u) << "a single click only highlights";
    QTest::keyClick(folders.List(), Qt::Key_Return);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.back(), temp.Path().string()) << "Enter on the parent row goes back up";

    DoubleClick(folders.List()->viewport(), RowCentre(folders.List(), 0));
    EXPECT_EQ(folders.Path(), "/");
    EXPECT_EQ(folders.ListCount(),
              1 + static_cast<int>(QDir("/").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()));
}

TEST(DriveListBoxTest, SelectsTheVolumeOfAPathAndReportsChoices) {
    QWidget host;
    DriveListBox drives(&host);
    ASSERT_GE(drives.ListCount(), 1);
    EXPECT_EQ(drives.Item(0), "/");
    const std::vector<std::string> roots = MountedDriveRoots();
    EXPECT_EQ(drives.Drive(), DriveOfPath(roots, QDir::currentPath().toStdString()));
    int changes = 0;
    drives.OnChange([&] { ++changes; });
    drives.SetDrive((fs::path(drives.Drive()) / "some" / "folder").string());
    EXPECT_EQ(changes, 0) << "the same volume is no change";
    drives.Refresh();
    EXPECT_EQ(drives.ListCount(), static_cast<int>(roots.size()));
    Q_EMIT drives.Combo()->activated(0); // as choosing the first entry from the drop-down does
    EXPECT_EQ(changes, 1) << "a user's pick always reports, even of the selected volume";
}

} // namespace
} // namespace quorix
