#pragma once

#include "platform/controls.h"
#include "platform/filelists.h"
#include "platform/form.h"
#include "state/sharedstate.h"

#include <functional>

namespace quorix {

// The chooser for the times-of-minima file: name box, typed file list, folder list and drive list.
// It lives hidden from the program's start to its end and keeps its folder, selection and name box
// between openings; the main window fills its type list once and opens it without making it modal.
class frmOpenFile : public Form {
    Q_OBJECT
public:
    // `loadFile` runs the reader after OK has stored DataFolder and DataFileName in the state.
    frmOpenFile(SharedState& state, std::function<void()> loadFile);

    Label Label1, Label2, Label3, Label4, Label5;
    TextBox Text1;
    FileListBox File1;
    ComboBox Combo1;
    DirListBox Dir1;
    DriveListBox Drive1;
    CommandButton Command1, Command2;

    // OK: hands the folder and the name to the reader, then hides the dialog whatever it found.
    void Command1_Click();
    // Cancel: hides the dialog and changes nothing else.
    void Command2_Click() { Hide(); }
    // A type chosen: the file list shows the files of that type.
    void Combo1_Click();
    // A drive chosen: the folder list goes to its top folder.
    void Drive1_Change() { Dir1.SetPath(Drive1.Drive()); }
    // A folder opened: the file list, the folder label and the name box follow it.
    void Dir1_Change();
    // A file chosen in the list (also on a mouse press): its name goes into the name box.
    void File1_Click() { Text1.SetText(File1.FileName()); }
    // A double click on a file chooses it and acts as OK.
    void File1_DblClick();

protected:
    void Form_Resize() override;
    // Closing by the frame is Cancel: the window stays, with its type list, for the next opening.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();

    SharedState& state_;
    std::function<void()> loadFile_;
};

} // namespace quorix
