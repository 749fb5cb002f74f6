// The numbered standard warnings, and the captured file error they report.
// Every failing file operation of the program ends in exactly one of these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hk
{

class Transaction;

// Shows standard warning `number` and returns the button chosen (1 OK, 2 Yes,
// 4 No, 16 Retry, 64 Cancel). `text` is a table name, key name or field
// description; the warnings that need two take the table first. Warnings
// that end the program close the data file and halt after their box; with a
// halt hook that returns (tests), WarnUser returns 0 for them.
int WarnUser(int number, std::string_view text = {});
int WarnUser(int number, std::string_view table, std::string_view text);

// Keeps the current file error for the next warning.
void CaptureFileError();

// What a write that fails inside a transaction does, in this order: rolls
// the transaction back (the whole of it, when joined), keeps the error that
// led there and shows warning `number`. Rolled back first so that no box
// waits while the file is locked. Returns the button.
int RollBackAndWarn(Transaction &txn, int number, std::string_view text = {});
int RollBackAndWarn(Transaction &txn, int number, std::string_view table, std::string_view text);

// The error text a warning would show now, without clearing the capture.
std::string warningErrorText();

// The numbers of the standard warnings, in order.
std::vector<int> warningNumbers();

// The title and text warning `number` shows with these arguments and the
// current (or captured) error; for tables of texts and their tests.
struct WarningText {
    std::string title;
    std::string text;
};
WarningText warningText(int number, std::string_view table, std::string_view text);

} // namespace hk
