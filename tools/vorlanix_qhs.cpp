// vorlanix-qhs: for whoever collects the players' upload files. Checks each file's size and
// check sum, and ranks the valid ones as the game ranks its list (lower age first).
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/qhs_report.h"

namespace {

constexpr const char* usage =
    "Usage: vorlanix-qhs verify FILE...\n"
    "       vorlanix-qhs rank [--csv] FILE...\n"
    "\n"
    "Checks Vorlanix high-score upload files (.qhs).\n"
    "\n"
    "  verify   prints, for each file, the nickname, the result as years/months/days\n"
    "           and OK, or the reason the file is invalid\n"
    "  rank     prints the valid files ranked as the game ranks them: the lower age\n"
    "           first, equal ages in the order given; invalid files are reported on\n"
    "           standard error\n"
    "  --csv    rank as comma-separated values with every form entry (UTF-8)\n"
    "  --help   shows this text\n"
    "\n"
    "Exit status: 0 when every file is valid, 1 when any is not, 2 for a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (args.empty() || (args[0] != "verify" && args[0] != "rank")) {
        std::fputs(usage, stderr);
        return 2;
    }
    const bool ranking = args[0] == "rank";
    bool csv = false;
    bool options_done = false;
    std::vector<std::string> files;
    for (size_t k = 1; k < args.size(); ++k) {
        const auto arg = args[k];
        if (!options_done && arg == "--") {
            options_done = true;
        } else if (!options_done && ranking && arg == "--csv") {
            csv = true;
        } else if (!options_done && arg.starts_with("-")) {
            std::fprintf(stderr, "vorlanix-qhs: unknown option %.*s\n\n%s", static_cast<int>(arg.size()), arg.data(),
                         usage);
            return 2;
        } else {
            files.emplace_back(arg);
        }
    }
    if (files.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    return ranking ? qhs::rank(files, csv, stdout, stderr) : qhs::verify(files, stdout);
}
