// hearthkeep --check FILE: checks a data file or a backup without changing
// it and without any window (no display is needed), printing a line for each
// thing checked (checkDataFile). Exits 0 when everything is as it should
// be, 1 when anything is off, 2 when the file cannot be read as a data file
// or the command is not understood.
#pragma once

#include "platform/data/filecheck.h"

#include <ostream>
#include <vector>

namespace hk
{

// The running totals as the forms keep them, one for each.
std::vector<KeptTotal> keptTotals();

// Runs the check of `path`, writing to `out`; returns the exit status.
int runCheck(const std::string &path, std::ostream &out);

} // namespace hk
