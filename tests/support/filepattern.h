#pragma once

#include "platform/filelists.h"
#include "support/tempfolder.h"

#include <QWidget>

#include <string>

namespace quorix::testing {

// Whether the file list shows a file of this name under a type pattern such as "*.csv" or
// "*.txt;*.dat": the file is made alone in a fresh folder, which a file list then reads.
inline bool MatchesFilePattern(const std::string& name, const std::string& pattern) {
    const TempFolder folder;
    folder.Write(name, "1\n");
    QWidget host;
    FileListBox files(&host);
    files.SetPath(folder.Path().string());
    files.SetPattern(pattern);
    return files.ListCount() == 1;
}

} // namespace quorix::testing
