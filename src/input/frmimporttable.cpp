#include "input/frmimporttable.h"

#include "platform/textfile.h"
#include "state/errormessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>

namespace quorix {

namespace {

// Far beyond any table of 100,000 times with its notes; a larger file is not read into memory.
constexpr std::size_t kLargestTableFile = 64u << 20;
constexpr int kPreviewLines = 30;
constexpr std::size_t kPreviewWidth = 160;

constexpr std::array kSeparators{TableSeparator::kComma,     TableSeparator::kTab,
                                 TableSeparator::kBlanks,    TableSeparator::kBar,
                                 TableSeparator::kAmpersand, TableSeparator::kSemicolon};

// The first lines of the file, numbered as the reader's messages number them.
QString PreviewText(const std::string& text) {
    QString preview;
    std::size_t at = 0;
    for (int line = 1; line <= kPreviewLines && at < text.size(); ++line) {
        std::size_t end = text.find_first_of("\r\n", at);
        end = end == std::string::npos ? text.size() : end;
        const std::string shown = text.substr(at, std::min(end - at, kPreviewWidth));
        preview += QString("%1  %2\n")
                       .arg(line, 3)
                       .arg(QString::fromUtf8(shown.data(), static_cast<int>(shown.size())));
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return preview;
}

QString ColumnLabel(const TableReadResult& result, std::size_t index) {
    const std::string& name = result.columnNames[index];
    const QString number = QString::number(index + 1);
    return name.empty() ? "column " + number : number + ": " + QString::fromStdString(name);
}

ColumnChoice ChoiceOf(const QComboBox* box, bool hasNone) {
    const int index = box->currentIndex();
    if (hasNone && index == 0) {
        return ColumnChoice::None();
    }
    return index < 0 ? ColumnChoice::Detect() : ColumnChoice::Number(index + (hasNone ? 0 : 1));
}

} // namespace

TableFileText ReadTableFile(const std::string& path) {
    TableFileText file;
    InputFile input(path);
    for (int c = input.Next(); c != InputFile::kEnd; c = input.Next()) {
        if (file.text.size() == kLargestTableFile) {
            file.error = kErrOverflow;
            break;
        }
        file.text += static_cast<char>(c);
    }
    if (input.Error() != 0) {
        file.error = input.Error();
    }
    if (file.error != 0) {
        file.text.clear();
    }
    return file;
}

frmImportTable::frmImportTable(SharedState& state, ReaderWindow& window, std::string folder,
                               std::string fileName, std::string text)
    : state_(state), window_(window), folder_(std::move(folder)), fileName_(std::move(fileName)),
      text_(std::move(text)) {
    setWindowTitle(QString("Import Table - %1").arg(QString::fromStdString(fileName_)));
    BuildLayout();
    Reread(false);
}

void frmImportTable::BuildLayout() {
    preview = new QPlainTextEdit(this);
    preview->setReadOnly(true);
    preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    preview->setPlainText(PreviewText(text_));
    preview->setMinimumSize(560, 220);

    separatorBox = new QComboBox(this);
    for (TableSeparator separator : kSeparators) {
        separatorBox->addItem(QString::fromStdString(SeparatorName(separator)));
    }
    skipBox = new QSpinBox(this);
    skipBox->setRange(0, 1000);
    headerLabel = new QLabel(this);
    headerLabel->setWordWrap(true);
    timeBox = new QComboBox(this);
    typeBox = new QComboBox(this);
    errorBox = new QComboBox(this);
    countLabel = new QLabel(this);
    refusalLabel = new QLabel(this);
    refusalLabel->setWordWrap(true);
    refusalLabel->setStyleSheet("color: #b00000");
    warningList = new QListWidget(this);
    warningList->setMaximumHeight(90);

    auto* form = new QFormLayout;
    form->addRow("&Separator:", separatorBox);
    form->addRow("&Lines to skip:", skipBox);
    form->addRow("Header:", headerLabel);
    form->addRow("&Time column:", timeBox);
    form->addRow("T&ype column:", typeBox);
    form->addRow("&Error column:", errorBox);
    form->addRow("Rows:", countLabel);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("First lines of the file:", this));
    layout->addWidget(preview, 1);
    layout->addLayout(form);
    layout->addWidget(refusalLabel);
    layout->addWidget(new QLabel("Warnings:", this));
    layout->addWidget(warningList);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &frmImportTable::OkClicked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(separatorBox, &QComboBox::activated, this, [this] {
        separatorChosen_ = true;
        Reread(false);
    });
    connect(skipBox, &QSpinBox::valueChanged, this, [this] { Reread(false); });
    for (QComboBox* box : {timeBox, typeBox, errorBox}) {
        connect(box, &QComboBox::activated, this, [this] { Reread(true); });
    }
}

void frmImportTable::Reread(bool keepColumns) {
    options_.skipLines = skipBox->value();
    if (keepColumns) {
        options_.timeColumn = ChoiceOf(timeBox, false);
        options_.typeColumn = ChoiceOf(typeBox, true);
        options_.errorColumn = ChoiceOf(errorBox, true);
    } else {
        options_.timeColumn = options_.typeColumn = options_.errorColumn = ColumnChoice::Detect();
    }
    // The separator box starts on the reader's own choice; once the user picks one it is kept.
    if (separatorChosen_) {
        options_.separator = kSeparators[static_cast<std::size_t>(separatorBox->currentIndex())];
    }
    result_ = ReadTimesTable(text_, options_);
    if (!keepColumns) {
        FillColumnBoxes();
    }
    ShowResult();
}

void frmImportTable::FillColumnBoxes() {
    const QSignalBlocker blockTime(timeBox), blockType(typeBox), blockError(errorBox);
    timeBox->clear();
    typeBox->clear();
    errorBox->clear();
    typeBox->addItem("(none)");
    errorBox->addItem("(none)");
    for (std::size_t i = 0; i < result_.columnNames.size(); ++i) {
        for (QComboBox* box : {timeBox, typeBox, errorBox}) {
            box->addItem(ColumnLabel(result_, i));
        }
    }
    timeBox->setCurrentIndex(result_.timeColumn - 1);
    typeBox->setCurrentIndex(result_.typeColumn);
    errorBox->setCurrentIndex(result_.errorColumn);
}

void frmImportTable::ShowResult() {
    const QSignalBlocker block(separatorBox);
    const auto separator = std::find(kSeparators.begin(), kSeparators.end(), result_.separator);
    separatorBox->setCurrentIndex(static_cast<int>(separator - kSeparators.begin()));
    QString header = result_.headerLine == 0 ? QString("none") : QString("line %1:").arg(result_.headerLine);
    for (std::size_t i = 0; result_.headerLine != 0 && i < result_.columnNames.size(); ++i) {
        header += (i == 0 ? " " : " | ") + QString::fromStdString(result_.columnNames[i]);
    }
    headerLabel->setText(header);
    const bool loaded = result_.Loaded();
    countLabel->setText(
        loaded ? QString("%1 times, from line %2").arg(result_.times.size()).arg(result_.firstDataLine)
               : QString("none read"));
    refusalLabel->setText(QString::fromStdString(result_.refusal));
    refusalLabel->setVisible(!loaded);
    warningList->clear();
    for (const std::string& warning : result_.warnings) {
        warningList->addItem(QString::fromStdString(warning));
    }
    if (loaded && result_.times.size() > static_cast<std::size_t>(kMaxObservations)) {
        warningList->addItem(
            QString("The program takes at most %1 times; OK will load nothing.").arg(kMaxObservations));
    }
    const bool columnsKnown = !result_.columnNames.empty();
    for (QComboBox* box : {timeBox, typeBox, errorBox}) {
        box->setEnabled(columnsKnown);
    }
    buttons->button(QDialogButtonBox::Ok)->setEnabled(loaded);
}

void frmImportTable::OkClicked() {
    if (!result_.Loaded()) {
        return;
    }
    if (LoadTableIntoState(state_, window_, result_, folder_, fileName_)) {
        // As after "Open", the data's folder becomes the current one; a folder gone since the file
        // was read leaves the current folder where it was.
        static_cast<void>(ChangeCurrentFolder(folder_));
        accept();
    }
}

} // namespace quorix
