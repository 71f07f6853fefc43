#pragma once
#include "app/cli/options.h"
#include "verify/frame_table.h"

// --verify as a verdict, for the programs that say it each their own way: the
// whole show at the table's rate against frames.sha256 of the data set
// (status 0 or 1), or status 2 with the line that says why the table cannot
// be used. Nothing is printed but the progress bar on a terminal.
verify::Verdict verifyDataSet(const Options& options);
