#pragma once

#include "input/minimareader.h"
#include "input/tablereader.h"
#include "state/sharedstate.h"

#include <QDialog>

#include <string>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;

namespace quorix {

// Reads a whole file for the import preview; `error` is 0 or the run-time error number that
// selects the message, and a file larger than any table of times is refused with kErrOverflow.
struct TableFileText {
    std::string text;
    int error = 0;
};
[[nodiscard]] TableFileText ReadTableFile(const std::string& path);

// The preview of a published table before its times are loaded: the first lines of the file, the
// separator, header and columns the reader found (each can be changed), the number of rows and
// every warning or refusal. OK loads the times as a successful "Open" does; Cancel changes nothing.
class frmImportTable : public QDialog {
    Q_OBJECT
public:
    // `window` is the main window as the loading reaches it; `folder` and `fileName` become
    // DataFolder and DataFileName when the table is loaded.
    frmImportTable(SharedState& state, ReaderWindow& window, std::string folder, std::string fileName,
                   std::string text);

    // What the reader makes of the file with the choices now shown.
    [[nodiscard]] const TableReadResult& Result() const { return result_; }

    // OK: loads the table and closes the dialog; a table the program cannot take shows its message
    // and the dialog stays, with the previous data untouched.
    void OkClicked();

    QComboBox* separatorBox = nullptr;
    QSpinBox* skipBox = nullptr;
    QComboBox* timeBox = nullptr;
    QComboBox* typeBox = nullptr;
    QComboBox* errorBox = nullptr;
    QLabel* headerLabel = nullptr;
    QLabel* countLabel = nullptr;
    QLabel* refusalLabel = nullptr;
    QListWidget* warningList = nullptr;
    QPlainTextEdit* preview = nullptr;
    QDialogButtonBox* buttons = nullptr;

private:
    void BuildLayout();
    // Reads the text again; `keepColumns` passes the three column boxes as the user's choices,
    // otherwise the reader finds the columns afresh (after a new separator or skip count).
    void Reread(bool keepColumns);
    void ShowResult();
    void FillColumnBoxes();

    SharedState& state_;
    ReaderWindow& window_;
    std::string folder_;
    std::string fileName_;
    std::string text_;
    TableOptions options_;
    bool separatorChosen_ = false;
    TableReadResult result_;
};

} // namespace quorix
