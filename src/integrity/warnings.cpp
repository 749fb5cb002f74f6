#include "integrity/warnings.h"

#include "dictionary/types.h"
#include "dictionary/utf8.h"
#include "integrity/tableopen.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "platform/messages.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace hk
{

namespace
{

struct Captured {
    bool set = false;
    FileError error;
};
Captured captured;

struct WarningDef {
    int number;
    const char *title;
    // Pieces: {error}, {file} (= the table argument or, for one-argument
    // warnings, the text), {text}, {table}, {lower} (text in lower case).
    const char *text;
    MessageIcon icon;
    int buttons;
    int defaultButton;
    const char *halt; // ends the program with this text after the box
    int haltOn = 0;   // 0: always; otherwise only on this button
};

constexpr int OK = ButtonOk, Yes = ButtonYes, No = ButtonNo, Retry = ButtonRetry,
              Cancel = ButtonCancel;
constexpr MessageIcon W = MessageIcon::Exclamation, Q = MessageIcon::Question;

const WarningDef kWarnings[] = {
    {1, "Invalid File", "Error: ({error}) accessing {file}.  Press OK to end this application.", W,
     OK, OK, "Invalid File!"},
    {2, "Invalid Key", "{file} key file is invalid.  Do you want to rebuild the key?", Q, Yes | No,
     Yes, "Invalid Key!", No},
    {3, "Key Rebuild Error",
     "Error: ({error}) repairing key for {file}.  Press OK to end this application.", W, OK, OK,
     "Error Rebuilding Key!"},
    {4, "File Creation Error",
     "Error: ({error}) creating {file}.  Press OK to end this application.", W, OK, OK,
     "File Creation Error!"},
    {5, "File Creation Error",
     "Error: ({error}) opening created file:{file}.  Press OK to end this application.", W, OK, OK,
     "File Creation Error!"},
    {11, "Field Contents Error", "The value for {text} must be found in the {table} file.", W, OK,
     OK, nullptr},
    {12, "Referential Integrity Update Error",
     "This record is referenced from the file {text}.  Linking field(s) have been restricted from "
     "change and have been reset to original values.",
     W, OK, OK, nullptr},
    {13, "Referential Integrity Delete Error",
     "This record is referenced from the file {text}.  This record cannot be deleted while these "
     "references exist.",
     W, OK, OK, nullptr},
    {14, "Record Insert Error",
     "An error was experienced during the update of record.  Error: {error}.", W, OK, OK, nullptr},
    {15, "Update Operation Error",
     "An error ({error}) was experienced when attempting to update a record from the file.  "
     "Probable Cause: {text}.",
     W, OK, OK, nullptr},
    {16, "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?", W,
     Yes | No | Cancel, Cancel, nullptr},
    {17, "Delete Operation Error",
     "An error ({error}) was experienced when attempting to delete a record from the file {text}.",
     W, OK, OK, nullptr},
    {18, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", W,
     Yes | No | Cancel, Cancel, nullptr},
    {24, "Duplicate Key Error", "Adding this record creates a duplicate entry for the key:{text}",
     W, OK, OK, nullptr},
    {25, "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: {error}.", W,
     Retry | Cancel, Cancel, nullptr},
    {30, "File Access Error", "File ({file}) could not be opened.  Error: {error}.", W, OK, OK,
     nullptr},
    {34, "Transaction Framing Error",
     "Error: ({error}) attempting to frame the {lower} transaction on {table}.  {text} transaction "
     "cancelled.",
     W, OK, OK, nullptr},
    {35, "Record Retrieval Error",
     "Error: ({error}) attempting to access a record from the {text} file.  Returning to previous "
     "window.",
     W, OK, OK, nullptr},
    {36, "View Open Error",
     "Error: ({error}) attempting to open the current VIEW. Filter and Range Limits ignored.", W,
     OK, OK, nullptr},
    {38, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the "
     "Ditto Button or Ctrl+' to recall your changes.",
     W, OK, OK, nullptr},
    // A data file or backup holding code the program does not make: it is
    // not run, and the file is not changed unless the user says so.
    {41, "Untrusted Data File",
     "{file} holds {text}, which Hearthkeep does not make and will not run.  Do you want to "
     "remove it from the file?  Press No to end this application.",
     W, Yes | No, No, "Untrusted Data File!", No},
    {42, "Untrusted Backup",
     "{file} holds {text}, which Hearthkeep does not make.  The backup cannot be restored; "
     "nothing has been changed.",
     W, OK, OK, nullptr},
    // A change that would carry a running total past its digits.
    {43, "Total Too Large", "The total {file} would come to {text}.  Nothing has been written.", W,
     OK, OK, nullptr},
};

const WarningDef *findWarning(int number)
{
    for (const auto &w : kWarnings)
        if (w.number == number) return &w;
    return nullptr;
}

const FileError &reportedError()
{
    return captured.set ? captured.error : lastError();
}

std::string fill(std::string_view pattern, const std::string &error, std::string_view file,
                 std::string_view table, std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        auto piece = [&](std::string_view name, std::string_view value) {
            if (pattern.substr(i, name.size()) != name) return false;
            out += value;
            i += name.size();
            return true;
        };
        if (piece("{error}", error) || piece("{file}", file) || piece("{table}", table) ||
            piece("{text}", text) || piece("{lower}", lower))
            continue;
        out += pattern[i++];
    }
    return out;
}

} // namespace

std::vector<int> warningNumbers()
{
    std::vector<int> numbers;
    for (const auto &w : kWarnings)
        numbers.push_back(w.number);
    return numbers;
}

std::string warningErrorText()
{
    const FileError &e = reportedError();
    // A warning tells of a failure: if its cause was lost on the way, say
    // that, never "No error".
    if (e.code == NoError) return "the cause was not recorded (0)";
    std::string out =
        e.code == FileSystemError
            ? std::string(trimRight(e.driverMessage)) + " (" + std::to_string(e.driverCode) + ")"
            : std::string(trimRight(e.message)) + " (" + std::to_string(e.code) + ")";
    return std::string(utf8Prefix(out, 150));
}

WarningText warningText(int number, std::string_view table, std::string_view text)
{
    const WarningDef *w = findWarning(number);
    if (!w) return {"Warning", "Unknown warning " + std::to_string(number) + "."};
    table = trimRight(table);
    text = trimRight(text);
    std::string_view file = table.empty() ? text : table;
    if (number == 15) {
        int code = reportedError().code;
        if (code == NoError || code == ChangedByOther)
            return {w->title, "This record was changed by another station."};
    }
    return {w->title, fill(w->text, warningErrorText(), file, table, text)};
}

int WarnUser(int number, std::string_view text)
{
    return WarnUser(number, {}, text);
}

// The program's table with this stored name, or null.
static Table *tableNamed(const std::string &storedName)
{
    for (int i = 0; i < TableCount; ++i)
        if (table(TableId(i)).storedName() == storedName) return &table(TableId(i));
    return nullptr;
}

int WarnUser(int number, std::string_view table, std::string_view text)
{
    // A damaged key met in use is offered for rebuilding first, as at opening
    // (which asks on its own); the caller's warning then says what failed.
    if (number > 5 && number != 30 && reportedError().code == KeysInvalid) {
        const FileError damaged = reportedError();
        if (Table *t = tableNamed(damaged.file)) {
            if (!RebuildDamagedKeys(*t)) return 0;
            captured = Captured{true, damaged};
        }
    }
    WarningText shown = warningText(number, table, text);
    captured = Captured{};
    const WarningDef *w = findWarning(number);
    if (!w) return message(shown.text, shown.title, MessageIcon::Exclamation);
    // A warning that ends the program undoes what was half done; before its
    // box, which must not wait while the file is locked.
    if (w->halt && w->haltOn == 0) DataFile::program().abandon();
    int button = message(shown.text, shown.title, w->icon, w->buttons, w->defaultButton);
    if (w->halt && (w->haltOn == 0 || w->haltOn == button)) {
        // Nothing may be left half-written: roll back and close the file first.
        DataFile::program().shutdown();
        halt(w->halt, 1);
        return 0;
    }
    return button;
}

void CaptureFileError()
{
    captured = Captured{true, lastError()};
}

int RollBackAndWarn(Transaction &txn, int number, std::string_view text)
{
    return RollBackAndWarn(txn, number, {}, text);
}

int RollBackAndWarn(Transaction &txn, int number, std::string_view table, std::string_view text)
{
    txn.rollback();
    CaptureFileError();
    return WarnUser(number, table, text);
}

} // namespace hk
