// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of vorlanix-bestenliste.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "server/mail_command.h"
#include "server/world_list_server.h"

namespace bestenliste {

enum class Command { Help, Version, Serve, Import, Export, Delete, ReceiveMail, Backup, Restore, Work };

struct CommandLine {
    Command command = Command::Help;
    ServeOptions serve;
    ReceiveMailOptions mail;
    std::filesystem::path data_dir;  // empty: the default directory
    std::string database;            // empty: SQLite in the data directory
    std::vector<std::string> arguments;
    std::string error;  // a usage error, when not empty
};

CommandLine parse_command_line(const std::vector<std::string>& args);

// $XDG_DATA_HOME/vorlanix-bestenliste, else ~/.local/share/vorlanix-bestenliste.
std::filesystem::path default_data_dir();

extern const char* const usage_text;

}  // namespace bestenliste
