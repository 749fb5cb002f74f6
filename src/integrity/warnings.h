// The numbered standard warnings, and the captured file error they report.
// Every failing file operation of the program ends in exactly one of these.
#pragma once

#include <string>
#include <string_view>

namespace hk
{

// Shows standard warning `number` and returns the button chosen (1 OK, 2 Yes,
// 4 No, 16 Retry, 64 Cancel). `text` is a table name, key name or field
// description; the warnings that need two take the table first. Warnings
// that end the program close the data file and halt after their box; with a
// halt hook that returns (tests), WarnUser returns 0 for them.
int WarnUser(int number, std::string_view text = {});
int WarnUser(int number, std::string_view table, std::string_view text);

// Keeps the current file error for the next warning, after rolling back the
// open transaction so that the data is as it was before it began.
void CaptureFileError();

// The error text a warning would show now, without clearing the capture.
std::string warningErrorText();

// The title and text warning `number` shows with these arguments and the
// current (or captured) error; for tables of texts and their tests.
struct WarningText {
    std::string title;
    std::string text;
};
WarningText warningText(int number, std::string_view table, std::string_view text);

} // namespace hk
