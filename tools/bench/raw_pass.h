// The yardstick of the benchmarks: one plain pass over the journal rows of
// a ledger, every row stepped once and the columns the walks use read,
// nothing else done with them.
#pragma once

#include <cstdint>
#include <string>

namespace ltb::bench {

// Reads every journal row of `dataset` in the ledger of `home` in storage
// order. *rows gets the number of rows; *checksum a sum of the values read
// (so the reads cannot be left out). False with *error when the ledger
// cannot be read.
bool RawJournalPass(const std::string& home, int dataset, int64_t* rows, int64_t* checksum,
                    std::string* error);

// The same rows and columns, handed by SQLite to a function it calls for
// every row (an aggregate over the SELECT) instead of being stepped and read
// column by column: the way the program reads the journal halves. It shows
// what SQLite's own decoding of the rows costs without the per-call cost of
// the statement interface.
bool RawJournalPassThroughFunction(const std::string& home, int dataset, int64_t* rows,
                                   int64_t* checksum, std::string* error);

}  // namespace ltb::bench
