#include "platform/filelists.h"

#include "support/filepattern.h"
#include "support/listclicks.h"
#include "support/listitems.h"
#include "support/tempfolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace quorix {
namespace {

namespace fs = std::filesystem;

using Names = std::vector<std::string>;
using testing::ClickRow;
using testing::Items;
using testing::MatchesFilePattern;

TEST(DriveListTest, OffersTheRootAndRealVolumesAndFindsTheVolumeOfAPath) {
    // Memory and container file systems and the system's own folders are no volumes; removable media
    // under /run/media are, and each mount point counts once, without a closing "/".
    const std::vector<MountEntry> mounts = {
        {"/", "ext4"},
        {"/mnt/ram", "tmpfs"},
        {"/boot/efi", "vfat"},
        {"/home", "ext4"},
        {"/media/anna/USB STICK", "vfat"},
        {"/run/media/anna/Disk", "exfat"},
        {"/mnt/archive/", "nfs4"},
        {"/home", "ext4"},
    };
    const std::vector<std::string> roots = PickDriveRoots(mounts);
    EXPECT_EQ(roots, (Names{"/", "/home", "/media/anna/USB STICK", "/mnt/archive", "/run/media/anna/Disk"}));
    EXPECT_EQ(DriveOfPath(roots, "/media/anna/USB STICK/data"), "/media/anna/USB STICK");
    EXPECT_EQ(DriveOfPath(roots, "/home"), "/home");
    EXPECT_EQ(DriveOfPath(roots, "/homework/a"), "/") << "a longer name is not a sub-folder";

    QWidget host;
    DriveListBox drives(&host);
    int changes = 0;
    drives.OnChange([&] { ++changes; });
    drives.SetDrive((fs::path(drives.Drive()) / "below").string());
    EXPECT_EQ(changes, 0) << "the same volume is no change";
    Q_EMIT drives.Combo()->activated(0); // as picking an entry from the drop-down does
    EXPECT_EQ(changes, 1) << "a pick always reports, even of the selected volume";
}

TEST(FilePatternTest, MatchesAsTheClassicTypeListsDo) {
    // Letters match in either case, and a pattern ending in ".*" takes names without extension too.
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"MINIMA.CSV", "*.csv", true}, {"minima.csv.bak", "*.csv", false}, {"README", "*.*", true},
        {"data", "data.*", true},      {"database", "data.*", false},      {"b.dat", "*.txt; *.dat", true},
        {"r12.txt", "r?.txt", false},  {"Zeiten Ä.TXT", "*.txt", true},
    };
    for (const auto& [name, pattern, matches] : cases) {
        EXPECT_EQ(MatchesFilePattern(name, pattern), matches) << name << " " << pattern;
    }
}

TEST(ListBoxTest, FilesMatchTheirTypeFoldersShowTheirPathAndOpen) {
    testing::TempFolder temp;
    const fs::path base = temp.Path() / "Messungen ä";
    for (const char* name : {"zeta", "Alpha", ".hidden", "folder.txt"}) {
        fs::create_directories(base / name);
    }
    for (const char* name : {"b.txt", "A.TXT", "c.csv", "Ärger.txt", "a b.txt"}) {
        temp.Write("Messungen ä/" + std::string(name), "1\n");
    }
    QWidget host;
    host.resize(400, 400);
    host.show();
    FileListBox files(&host);
    files.Place(0, 0, 3000, 3000);
    DirListBox folders(&host);
    folders.Place(3000, 0, 3000, 5000);

    files.SetPath(base.string());
    files.SetListIndex(0);
    files.SetPattern("*.txt");
    EXPECT_EQ(Items(files), (Names{"a b.txt", "A.TXT", "b.txt", "Ärger.txt"}));
    EXPECT_EQ(files.ListIndex(), -1) << "a re-read leaves no row selected";
    files.SetPath((base / "missing").string());
    EXPECT_EQ(files.ListCount(), 0) << "a folder that is not there lists nothing";

    std::vector<std::string> seen;
    folders.OnChange([&] { seen.push_back(folders.Path()); });
    ASSERT_TRUE(folders.SetPath(base.string()));
    std::vector<std::string> rows{"/"}; // the path from the root down, then the sub-folders
    for (fs::path reached = "/"; const auto& part : base.relative_path()) {
        rows.push_back((reached /= part).string());
    }
    const int current = static_cast<int>(rows.size()) - 1;
    for (const char* name : {"Alpha", "folder.txt", "zeta"}) {
        rows.push_back((base / name).string());
    }
    EXPECT_EQ(Items(folders), rows);
    EXPECT_EQ(folders.ListIndex(), current) << "the current folder is highlighted";
    EXPECT_TRUE(folders.SetPath(base.string() + "/"));
    EXPECT_FALSE(folders.SetPath((base / "b.txt").string()));
    EXPECT_FALSE(folders.SetPath((base / "missing").string()));
    EXPECT_EQ(seen, std::vector<std::string>{base.string()})
        << "no change, or a refused path, reports nothing";
    testing::DoubleClickRow(folders.List(), current + 1);
    EXPECT_EQ(folders.Path(), (base / "Alpha").string());
    ClickRow(folders.List(), current);
    EXPECT_EQ(seen.size(), 2u) << "a single click only highlights";
    QTest::keyClick(folders.List(), Qt::Key_Return);
    EXPECT_EQ(folders.Path(), base.string()) << "Enter opens the highlighted row";
    testing::DoubleClickRow(folders.List(), 0);
    EXPECT_EQ(folders.Path(), "/");
}

} // namespace
} // namespace quorix
