// The two reports of vorlanix-qhs, written to the streams given so that tests and fuzzing can
// run them without a process of their own.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace qhs {

// For each file: the nickname, the result as years/months/days and OK, or why it is invalid.
// Returns 0 when every file is valid, else 1.
int verify(const std::vector<std::string>& files, std::FILE* out);

// The valid files ranked (lower age first, equal ages in the order given), as a table or as
// comma-separated values; invalid files are reported on `err`. Returns 0 when every file is valid.
int rank(const std::vector<std::string>& files, bool csv, std::FILE* out, std::FILE* err);

}  // namespace qhs
