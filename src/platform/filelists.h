#pragma once

#include "platform/controls.h"

#include <QComboBox>
#include <QListWidget>

#include <functional>
#include <string>
#include <vector>

namespace quorix {

// One mounted file system as the system's mount table lists it.
struct MountEntry {
    std::string rootPath;
    std::string fileSystemType;
};

// The volumes a user would pick from: "/" first, then the mount points of real volumes in name
// order. Kernel, memory and container file systems and the system's own mounts are left out.
[[nodiscard]] std::vector<std::string> PickDriveRoots(const std::vector<MountEntry>& mounts);

// The volumes mounted now, chosen as PickDriveRoots does.
[[nodiscard]] std::vector<std::string> MountedDriveRoots();

// The volume that holds `path`: the deepest of `roots` above it, "/" when none is.
[[nodiscard]] std::string DriveOfPath(const std::vector<std::string>& roots, const std::string& path);

// The drive list: a drop-down of the volumes, read again each time it opens.
class DriveListBox : public Control {
public:
    // Starts with the volume that holds the process's current folder selected.
    explicit DriveListBox(QWidget* parent);

    // The selected volume's mount point.
    [[nodiscard]] std::string Drive() const;
    // Selects the volume that holds `path`; runs the change handler when the selection moves.
    void SetDrive(const std::string& path);
    // Reads the mounted volumes again, keeping the selection while its volume is still there.
    void Refresh();
    [[nodiscard]] int ListCount() const { return combo_->count(); }
    [[nodiscard]] std::string Item(int index) const { return combo_->itemText(index).toStdString(); }
    [[nodiscard]] int ListIndex() const { return combo_->currentIndex(); }
    // Run when the user picks a volume (picking the selected one again goes back to its top) or
    // when SetDrive moves the selection.
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    [[nodiscard]] QComboBox* Combo() const { return combo_; }
    void SetDisplayText(const std::string& text) override { SetDrive(text); }
    std::string DisplayText() const override { return Drive(); }

private:
    void Fill(const std::vector<std::string>& roots, const std::string& selected);

    QComboBox* combo_;
    std::function<void()> onChange_;
};

// The folder list: the path from "/" down to the current folder, each folder indented under its
// parent, then the current folder's sub-folders. A double click or Enter on a row opens it.
class DirListBox : public Control {
public:
    // Starts at the process's current folder.
    explicit DirListBox(QWidget* parent);

    [[nodiscard]] std::string Path() const { return path_.toStdString(); }
    // Opens `path` (absolute, or relative to the current folder) when it is an existing folder, and
    // runs the change handler when that differs from the current path. Returns false and changes
    // nothing when there is no such folder.
    bool SetPath(const std::string& path);
    // Reads the sub-folders again; a folder that cannot be read has none.
    void Refresh();
    // Rows shown: the folders of the path, then the sub-folders.
    [[nodiscard]] int ListCount() const { return list_->count(); }
    // Full path of the folder on a row.
    [[nodiscard]] std::string Item(int row) const;
    // The row of the current folder, which is the highlighted one after every change.
    [[nodiscard]] int ListIndex() const { return list_->currentRow(); }
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    [[nodiscard]] QListWidget* List() const { return list_; }
    void SetDisplayText(const std::string& text) override { SetPath(text); }
    std::string DisplayText() const override { return Path(); }

private:
    void OpenRow(const QListWidgetItem* item);

    QListWidget* list_;
    QString path_;
    std::function<void()> onChange_;
};

// The file list: the files of its path whose names fit its pattern, sorted by name without regard
// to case. Hidden files and folders are not listed; a folder that cannot be read lists nothing.
class FileListBox : public Control {
public:
    // Starts at the process's current folder with the pattern "*.*".
    explicit FileListBox(QWidget* parent);

    [[nodiscard]] std::string Path() const { return path_.toStdString(); }
    // Both setters read the folder again, so the list is fresh even when the value is unchanged.
    void SetPath(const std::string& path);
    [[nodiscard]] std::string Pattern() const { return pattern_.toStdString(); }
    void SetPattern(const std::string& pattern);
    void Refresh();

    [[nodiscard]] int ListCount() const { return list_->count(); }
    [[nodiscard]] std::string Item(int index) const;
    // The selected row, -1 when none is; every re-read leaves none selected.
    [[nodiscard]] int ListIndex() const;
    // Selects a row and runs the click handler, as choosing the row does.
    void SetListIndex(int index);
    // The selected file's name, empty when none is selected.
    [[nodiscard]] std::string FileName() const;

    // Click: the selection moved to a file, by mouse, keyboard or SetListIndex.
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // A double click on a file.
    void OnDblClick(std::function<void()> handler) { onDblClick_ = std::move(handler); }
    // A mouse button pressed on a file, after the selection has moved to it.
    void OnMouseDown(std::function<void()> handler) { onMouseDown_ = std::move(handler); }
    [[nodiscard]] QListWidget* List() const { return list_; }
    void SetDisplayText(const std::string& text) override;
    std::string DisplayText() const override { return FileName(); }

private:
    QListWidget* list_;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    std::function<void()> onClick_;
    std::function<void()> onDblClick_;
    std::function<void()> onMouseDown_;
};

} // namespace quorix
