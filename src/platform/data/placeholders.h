// Placeholder records of open insert forms, noted in the data file together
// with the station that added them. A placeholder whose station has ended
// without removing it (killed, crashed, power cut) is removed the next time
// its table is opened; one of a station that still runs is left alone, since
// its insert form may be open right now.
//
// The note lives in the data file itself (table "HkPlaceholders"), written in
// the same transaction as the placeholder, its rewrite and its removal, so
// that the two never disagree whatever happens to the process.
#pragma once

#include <cstdint>
#include <string>

namespace hk
{

class DataFile;
struct TableDef;

// A running program as it can be recognised later: its process id, when
// that process started (so that a reused id is not taken for it), the boot
// of the machine it runs on, and the machine's name.
struct Station {
    std::int64_t pid = 0;
    std::int64_t started = 0; // clock ticks after boot
    std::string boot;
    std::string host;
    friend bool operator==(const Station &, const Station &) = default;
};

// This program.
const Station &thisStation();

// The table of the notes, as the program makes it with the first note.
const char *placeholdersTableSql();

// False only when the station certainly runs no more: it ran on this machine
// since its last boot and its process has ended (or the id now belongs to a
// later process), or it ran before this machine's last boot. A station of
// another machine cannot be asked and counts as running.
bool stationRunning(const Station &station);

// Inside the caller's transaction: note that `row` of the table is a
// placeholder of this station, or that it is one no more.
int notePlaceholder(DataFile &file, const TableDef &table, std::int64_t row);
int forgetPlaceholder(DataFile &file, const TableDef &table, std::int64_t row);

// Removes the table's placeholders whose stations run no more, in a
// transaction of its own unless the caller has one open. Returns how many
// were removed, or a negative file code; gives up quietly (0) when another
// station is writing, so that the next opening tries again.
int removeDeadPlaceholders(DataFile &file, const TableDef &table);

// Removes every placeholder of this station, in a transaction of its own:
// what a program leaves when it ends with insert forms still open. Returns
// how many were removed, or a negative file code.
int removeOwnPlaceholders(DataFile &file);

} // namespace hk
