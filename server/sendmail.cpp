// SPDX-License-Identifier: GPL-3.0-or-later
// The child gets the message on a pipe; a write to a child that died early fails instead of
// raising SIGPIPE, because the caller ignores that signal.
#include "server/sendmail.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace bestenliste {

std::string send_mail(const std::string& program, const std::string& recipient, const std::string& message) {
    std::vector<std::string> args = {program, "-i", "-f", "<>", "--", recipient};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int input[2];
    if (::pipe2(input, O_CLOEXEC) != 0) return std::string("pipe: ") + std::strerror(errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    if (spawned != 0) {
        ::close(input[1]);
        return "cannot run " + program + ": " + std::strerror(spawned);
    }
    std::string failure;
    for (size_t written = 0; written < message.size();) {
        const ssize_t n = ::write(input[1], message.data() + written, message.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failure = std::string("writing to ") + program + ": " + std::strerror(errno);
            break;
        }
        written += static_cast<size_t>(n);
    }
    ::close(input[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!failure.empty()) return failure;
    if (!WIFEXITED(status)) return program + " was ended by signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0) return program + " failed with status " + std::to_string(WEXITSTATUS(status));
    return {};
}

}  // namespace bestenliste
