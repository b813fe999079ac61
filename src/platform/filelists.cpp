#include "platform/filelists.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QStyledItemDelegate>

#include <algorithm>
#include <optional>
#include <set>

namespace quorix {

namespace {

// File systems of the kernel, of memory and of container images: nothing a user keeps data on.
bool IsPseudoFileSystem(const std::string& type) {
    static const std::set<std::string> kPseudo = {
        "autofs",          "binfmt_misc", "bpf",         "cgroup",     "cgroup2",
        "configfs",        "debugfs",     "devpts",      "devtmpfs",   "efivarfs",
        "fuse.gvfsd-fuse", "fuse.lxcfs",  "fuse.portal", "fusectl",    "hugetlbfs",
        "mqueue",          "nfsd",        "nsfs",        "overlay",    "proc",
        "pstore",          "ramfs",       "rootfs",      "rpc_pipefs", "securityfs",
        "selinuxfs",       "squashfs",    "sysfs",       "tmpfs",      "tracefs"};
    return kPseudo.count(type) > 0;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool IsUnder(const std::string& path, const std::string& root) {
    if (root == "/") {
        return path.starts_with('/');
    }
    return path == root || path.starts_with(root + '/');
}

// Mount points the system keeps for itself; removable media mounted under /run/media stay.
bool IsSystemMount(const std::string& root) {
    if (IsUnder(root, "/run/media")) {
        return false;
    }
    static const char* const kSystemFolders[] = {"/boot", "/dev", "/etc", "/proc", "/run",
                                                 "/snap", "/sys", "/usr", "/var"};
    return std::any_of(std::begin(kSystemFolders), std::end(kSystemFolders),
                       [&root](const char* folder) { return IsUnder(root, folder); });
}

// A type pattern compiled once for a whole folder: one expression per ";"-separated part, and for a
// part ending in ".*" a second one for names that have no extension at all.
class PatternMatcher {
public:
    explicit PatternMatcher(const QString& pattern) {
        for (const QString& part : pattern.split(';', Qt::SkipEmptyParts)) {
            const QString wildcard = part.trimmed();
            if (wildcard.isEmpty()) {
                continue;
            }
            const bool anyExtension = wildcard.endsWith(QStringLiteral(".*")) && wildcard.size() > 2;
            parts_.push_back({Compile(wildcard),
                              anyExtension ? std::optional(Compile(wildcard.chopped(2))) : std::nullopt});
        }
    }

    [[nodiscard]] bool Matches(const QString& name) const {
        if (parts_.empty()) {
            return true;
        }
        const bool hasExtension = name.contains('.');
        return std::any_of(parts_.begin(), parts_.end(), [&](const Part& part) {
            return part.whole.match(name).hasMatch() ||
                   (!hasExtension && part.withoutExtension && part.withoutExtension->match(name).hasMatch());
        });
    }

private:
    struct Part {
        QRegularExpression whole;
        std::optional<QRegularExpression> withoutExtension;
    };
    static QRegularExpression Compile(const QString& wildcard) {
        return QRegularExpression(QRegularExpression::wildcardToRegularExpression(wildcard),
                                  QRegularExpression::CaseInsensitiveOption);
    }
    std::vector<Part> parts_;
};

// The folder rows: each is drawn indented by its depth below "/".
constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 12;

class IndentingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + Indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(Indent(index), 0);
    }

private:
    static int Indent(const QModelIndex& index) { return index.data(kDepthRole).toInt() * kIndentPixels; }
};

// The folder list widget: Enter opens the current row as a double click does.
class FolderListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;
    std::function<void(QListWidgetItem*)> onOpen;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && currentItem() != nullptr && onOpen) {
            onOpen(currentItem());
            event->accept();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

// The drive drop-down: the volumes are read again whenever the user opens it.
class VolumeCombo : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;

    void showPopup() override {
        if (beforePopup) {
            beforePopup();
        }
        QComboBox::showPopup();
    }
};

void SetUpList(QListWidget* list) {
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
}

} // namespace

std::vector<std::string> PickDriveRoots(const std::vector<MountEntry>& mounts) {
    std::set<std::string> volumes;
    for (const MountEntry& mount : mounts) {
        const std::string root = WithoutTrailingSlash(mount.rootPath);
        if (root.starts_with('/') && root != "/" && !IsPseudoFileSystem(mount.fileSystemType) &&
            !IsSystemMount(root)) {
            volumes.insert(root);
        }
    }
    std::vector<std::string> roots{"/"};
    roots.insert(roots.end(), volumes.begin(), volumes.end());
    return roots;
}

std::vector<std::string> MountedDriveRoots() {
    std::vector<MountEntry> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Single files bound into a container show up as mounts too; only folders are volumes.
        if (volume.isValid() && QFileInfo(volume.rootPath()).isDir()) {
            mounts.push_back({volume.rootPath().toStdString(), volume.fileSystemType().toStdString()});
        }
    }
    return PickDriveRoots(mounts);
}

std::string DriveOfPath(const std::vector<std::string>& roots, const std::string& path) {
    std::string best = "/";
    for (const std::string& root : roots) {
        const std::string clean = WithoutTrailingSlash(root);
        if (IsUnder(path, clean) && clean.size() > best.size()) {
            best = clean;
        }
    }
    return best;
}

DriveListBox::DriveListBox(QWidget* parent)
    : Control(new VolumeCombo(parent)), combo_(static_cast<QComboBox*>(Widget())) {
    static_cast<VolumeCombo*>(combo_)->beforePopup = [this] { Refresh(); };
    QObject::connect(combo_, &QComboBox::activated, combo_, [this](int) {
        if (onChange_) {
            onChange_();
        }
    });
    const std::vector<std::string> roots = MountedDriveRoots();
    Fill(roots, DriveOfPath(roots, QDir::currentPath().toStdString()));
}

std::string DriveListBox::Drive() const {
    return combo_->currentText().toStdString();
}

void DriveListBox::Fill(const std::vector<std::string>& roots, const std::string& selected) {
    const QSignalBlocker blocker(combo_);
    combo_->clear();
    for (const std::string& root : roots) {
        combo_->addItem(ToQString(root));
    }
    combo_->setCurrentIndex(std::max(0, combo_->findText(ToQString(selected))));
}

void DriveListBox::SetDrive(const std::string& path) {
    std::vector<std::string> roots;
    for (int i = 0; i < combo_->count(); ++i) {
        roots.push_back(Item(i));
    }
    const int index = combo_->findText(ToQString(DriveOfPath(roots, path)));
    if (index < 0 || index == combo_->currentIndex()) {
        return;
    }
    {
        const QSignalBlocker blocker(combo_);
        combo_->setCurrentIndex(index);
    }
    if (onChange_) {
        onChange_();
    }
}

void DriveListBox::Refresh() {
    const std::vector<std::string> roots = MountedDriveRoots();
    Fill(roots, DriveOfPath(roots, Drive()));
}

DirListBox::DirListBox(QWidget* parent)
    : Control(new FolderListWidget(parent)), list_(static_cast<QListWidget*>(Widget())),
      path_(QDir::cleanPath(QDir::currentPath())) {
    SetUpList(list_);
    list_->setItemDelegate(new IndentingDelegate(list_));
    static_cast<FolderListWidget*>(list_)->onOpen = [this](const QListWidgetItem* item) { OpenRow(item); };
    QObject::connect(list_, &QListWidget::itemDoubleClicked, list_,
                     [this](const QListWidgetItem* item) { OpenRow(item); });
    Refresh();
}

bool DirListBox::SetPath(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const QFileInfo folder(QDir::current().absoluteFilePath(ToQString(path)));
    if (!folder.isDir()) {
        return false;
    }
    const QString cleaned = QDir::cleanPath(folder.absoluteFilePath());
    const bool changed = cleaned != path_;
    path_ = cleaned;
    Refresh();
    if (changed && onChange_) {
        onChange_();
    }
    return true;
}

void DirListBox::OpenRow(const QListWidgetItem* item) {
    // Copied first: opening the folder rebuilds the rows, item included.
    const QString path = item->data(kPathRole).toString();
    SetPath(path.toStdString());
}

void DirListBox::Refresh() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    const QIcon openIcon = list_->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = list_->style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addRow = [this](const QIcon& icon, const QString& text, const QString& path, int depth) {
        auto* item = new QListWidgetItem(icon, text, list_);
        item->setData(kPathRole, path);
        item->setData(kDepthRole, depth);
    };

    QString reached = QStringLiteral("/");
    addRow(openIcon, reached, reached, 0);
    const QStringList parts = path_.split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        reached = QDir(reached).filePath(part);
        addRow(openIcon, part, reached, list_->count());
    }
    const int depth = list_->count();
    const QDir current(path_);
    for (const QString& name :
         current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        addRow(closedIcon, name, current.filePath(name), depth);
    }
    list_->setCurrentRow(static_cast<int>(parts.size()));
}

std::string DirListBox::Item(int row) const {
    const QListWidgetItem* item = list_->item(row);
    return item != nullptr ? item->data(kPathRole).toString().toStdString() : std::string();
}

FileListBox::FileListBox(QWidget* parent)
    : Control(new QListWidget(parent)), list_(static_cast<QListWidget*>(Widget())),
      path_(QDir::cleanPath(QDir::currentPath())) {
    SetUpList(list_);
    // A click is a move of the selection; the focus alone marks a row current without selecting it.
    QObject::connect(list_, &QListWidget::itemSelectionChanged, list_, [this] {
        if (ListIndex() >= 0 && onClick_) {
            onClick_();
        }
    });
    QObject::connect(list_, &QListWidget::itemPressed, list_, [this](QListWidgetItem*) {
        if (onMouseDown_) {
            onMouseDown_();
        }
    });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, list_, [this](QListWidgetItem*) {
        if (onDblClick_) {
            onDblClick_();
        }
    });
    Refresh();
}

void FileListBox::SetPath(const std::string& path) {
    path_ = QDir::cleanPath(QDir::current().absoluteFilePath(ToQString(path)));
    Refresh();
}

void FileListBox::SetPattern(const std::string& pattern) {
    pattern_ = ToQString(pattern);
    Refresh();
}

void FileListBox::Refresh() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    const PatternMatcher matcher(pattern_);
    for (const QString& name : QDir(path_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (matcher.Matches(name)) {
            list_->addItem(name);
        }
    }
}

std::string FileListBox::Item(int index) const {
    const QListWidgetItem* item = list_->item(index);
    return item != nullptr ? item->text().toStdString() : std::string();
}

void FileListBox::SetListIndex(int index) {
    if (index < 0 || index >= list_->count()) {
        list_->clearSelection();
        return;
    }
    list_->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

int FileListBox::ListIndex() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

std::string FileListBox::FileName() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? std::string() : selected.front()->text().toStdString();
}

void FileListBox::SetDisplayText(const std::string& text) {
    const QList<QListWidgetItem*> found = list_->findItems(ToQString(text), Qt::MatchExactly);
    SetListIndex(found.isEmpty() ? -1 : list_->row(found.front()));
}

} // namespace quorix
