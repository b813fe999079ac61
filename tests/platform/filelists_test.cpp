#include "platform/filelists.h"

#include "support/tempfolder.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace quorix {
namespace {

namespace fs = std::filesystem;

// A double click as the window system delivers it: press, release, double-click press, release.
void DoubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

template <typename List> std::vector<std::string> Items(const List& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.ListCount(); ++i) {
        items.push_back(list.Item(i));
    }
    return items;
}

TEST(DriveListTest, OffersTheRootAndRealVolumesAndFindsTheVolumeOfAPath) {
    const std::vector<MountEntry> mounts = {{"/", "ext4"},
                                            {"/proc", "proc"},
                                            {"/sys/fs/cgroup/cpu", "cgroup"},
                                            {"/run/user/1", "tmpfs"},
                                            {"/mnt/ram", "tmpfs"},
                                            {"/snap/core/17", "squashfs"},
                                            {"/boot/efi", "vfat"},
                                            {"/etc/hosts", "ext4"},
                                            {"/media/anna/USB STICK", "vfat"},
                                            {"/home", "ext4"},
                                            {"/run/media/anna/Disk", "exfat"},
                                            {"/mnt/archive/", "nfs4"},
                                            {"/home", "ext4"}};
    const std::vector<std::string> roots = PickDriveRoots(mounts);
    EXPECT_EQ(roots, (std::vector<std::string>{"/", "/home", "/media/anna/USB STICK", "/mnt/archive",
                                               "/run/media/anna/Disk"}));
    EXPECT_EQ(DriveOfPath(roots, "/media/anna/USB STICK/data"), "/media/anna/USB STICK");
    EXPECT_EQ(DriveOfPath(roots, "/home"), "/home");
    EXPECT_EQ(DriveOfPath(roots, "/homework/a"), "/") << "a longer name is not a sub-folder";

    QWidget host;
    DriveListBox drives(&host);
    EXPECT_EQ(Items(drives), MountedDriveRoots());
    EXPECT_EQ(drives.Drive(), DriveOfPath(MountedDriveRoots(), QDir::currentPath().toStdString()));
    int changes = 0;
    drives.OnChange([&] { ++changes; });
    drives.SetDrive((fs::path(drives.Drive()) / "below").string());
    EXPECT_EQ(changes, 0) << "the same volume is no change";
    Q_EMIT drives.Combo()->activated(0); // as picking an entry from the drop-down does
    EXPECT_EQ(changes, 1) << "a pick always reports, even of the selected volume";
}

TEST(FilePatternTest, MatchesAsTheClassicTypeListsDo) {
    EXPECT_TRUE(MatchesFilePattern("MINIMA.CSV", "*.csv")) << "letters match in either case";
    EXPECT_FALSE(MatchesFilePattern("minima.csv.bak", "*.csv"));
    EXPECT_TRUE(MatchesFilePattern("README", "*.*")) << "a name without extension is every file too";
    EXPECT_TRUE(MatchesFilePattern("data", "data.*"));
    EXPECT_FALSE(MatchesFilePattern("database", "data.*"));
    EXPECT_TRUE(MatchesFilePattern("b.dat", "*.txt; *.dat"));
    EXPECT_FALSE(MatchesFilePattern("r12.txt", "r?.txt"));
    EXPECT_TRUE(MatchesFilePattern("Zeiten Ä.TXT", "*.txt"));
}

TEST(FileListBoxTest, ListsMatchingFilesSortedAndReportsClicksPressesAndDoubleClicks) {
    testing::TempFolder temp;
    for (const char* name : {"b.txt", "A.TXT", "c.csv", "Ärger.txt", "a b.txt", ".hidden.txt", "notes"}) {
        temp.Write(name, "1\n");
    }
    fs::create_directory(temp.Path() / "folder.txt");
    QWidget host;
    host.resize(400, 400);
    host.show();
    FileListBox files(&host);
    files.Place(0, 0, 3000, 3000);
    EXPECT_EQ(files.Path(), QDir::currentPath().toStdString());
    files.SetPath(temp.Path().string());
    EXPECT_EQ(Items(files),
              (std::vector<std::string>{"a b.txt", "A.TXT", "b.txt", "c.csv", "notes", "Ärger.txt"}))
        << "no folders, no hidden files, sorted without regard to case";
    temp.Write("d.txt", "1\n");
    files.SetPattern("*.txt");
    EXPECT_EQ(Items(files), (std::vector<std::string>{"a b.txt", "A.TXT", "b.txt", "d.txt", "Ärger.txt"}));
    EXPECT_EQ(files.ListIndex(), -1);

    int clicks = 0, presses = 0, doubles = 0;
    std::string nameOnPress;
    files.OnClick([&] { ++clicks; });
    files.OnMouseDown([&] {
        ++presses;
        nameOnPress = files.FileName();
    });
    files.OnDblClick([&] { ++doubles; });
    const QPoint second = files.List()->visualItemRect(files.List()->item(1)).center();
    QTest::mouseClick(files.List()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseClick(files.List()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(nameOnPress, "A.TXT") << "the press is reported after the selection moved";
    EXPECT_EQ(clicks, 1) << "the second click did not move the selection";
    EXPECT_EQ(presses, 2);
    QTest::keyClick(files.List(), Qt::Key_Down);
    EXPECT_EQ(files.FileName(), "b.txt");
    EXPECT_EQ(clicks, 2) << "moving with the keyboard is a click";
    DoubleClick(files.List(), 0);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(files.FileName(), "a b.txt");

    files.SetPath((temp.Path() / "missing").string());
    EXPECT_EQ(files.ListCount(), 0) << "a folder that is not there lists nothing";
}

TEST(DirListBoxTest, ShowsThePathThenTheSubFoldersAndOpensRows) {
    testing::TempFolder temp;
    const fs::path base = temp.Path() / "Messungen ä";
    for (const char* name : {"zeta", "Alpha", ".hidden"}) {
        fs::create_directories(base / name);
    }
    temp.Write("Messungen ä/file.txt", "1\n");
    QWidget host;
    host.resize(400, 400);
    host.show();
    DirListBox folders(&host);
    folders.Place(0, 0, 5000, 5000);
    EXPECT_EQ(folders.Path(), QDir::currentPath().toStdString());
    std::vector<std::string> seen;
    folders.OnChange([&] { seen.push_back(folders.Path()); });

    ASSERT_TRUE(folders.SetPath(base.string()));
    std::vector<std::string> expected{"/"};
    for (fs::path reached = "/"; const auto& part : base.relative_path()) {
        expected.push_back((reached /= part).string());
    }
    const int current = static_cast<int>(expected.size()) - 1;
    expected.push_back((base / "Alpha").string());
    expected.push_back((base / "zeta").string());
    EXPECT_EQ(Items(folders), expected);
    EXPECT_EQ(folders.ListIndex(), current) << "the current folder is highlighted";
    EXPECT_TRUE(folders.SetPath(base.string() + "/"));
    EXPECT_FALSE(folders.SetPath((base / "file.txt").string()));
    EXPECT_FALSE(folders.SetPath((base / "missing").string()));
    EXPECT_EQ(seen, std::vector<std::string>{base.string()})
        << "no change, or a refused path, reports nothing";

    DoubleClick(folders.List(), current + 1);
    EXPECT_EQ(folders.Path(), (base / "Alpha").string());
    QTest::mouseClick(folders.List()->viewport(), Qt::LeftButton, {},
                      folders.List()->visualItemRect(folders.List()->item(current)).center());
    EXPECT_EQ(seen.size(), 2u) << "a single click only highlights";
    QTest::keyClick(folders.List(), Qt::Key_Return);
    EXPECT_EQ(folders.Path(), base.string()) << "Enter opens the highlighted row";
    DoubleClick(folders.List(), 0);
    EXPECT_EQ(folders.Path(), "/");
}

} // namespace
} // namespace quorix
