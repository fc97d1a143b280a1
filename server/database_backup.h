// SPDX-License-Identifier: GPL-3.0-or-later
// `backup FILE` and `restore FILE`: a consistent copy of the whole list taken while servers run,
// and putting one back. SQLite copies with its online backup API; PostgreSQL with pg_dump's
// custom format and pg_restore in one transaction.
#pragma once

#include <filesystem>
#include <string>

namespace bestenliste {

// Both return an empty string, or what went wrong. A backup is written beside FILE and renamed
// over it only when complete; a restore replaces the contents in one step or not at all.
std::string backup_database(const std::string& database, const std::filesystem::path& data_dir,
                            const std::filesystem::path& file);
std::string restore_database(const std::string& database, const std::filesystem::path& data_dir,
                             const std::filesystem::path& file);

}  // namespace bestenliste
