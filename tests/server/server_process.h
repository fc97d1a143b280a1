// SPDX-License-Identifier: GPL-3.0-or-later
// vorlanix-bestenliste run as a real process on a free loopback port, as an operator runs it, and
// what the tests that start such processes ask of them: an upload sent, both lists read whole.
#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdio>
#include <filesystem>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

class ServerProcess {
  public:
    // `launcher` stands before the program, e.g. prlimit with a limit for the server alone.
    // `command` "work" starts a proving process instead, which listens nowhere.
    explicit ServerProcess(const std::filesystem::path& data_dir, std::vector<std::string> extra = {},
                           std::vector<std::string> launcher = {}, const std::string& command = "serve") {
        // Every client of a test comes from 127.0.0.1: no limit per address.
        std::vector<std::string> args = std::move(launcher);
        const std::vector<std::string> program = {VORLANIX_BESTENLISTE,
                                                  command,
                                                  "--listen",
                                                  "127.0.0.1:0",
                                                  "--data-dir",
                                                  data_dir.string(),
                                                  "--rate-limit",
                                                  "0",
                                                  "--connections-per-address",
                                                  "0"};
        args.insert(args.end(), program.begin(), program.end());
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        // What the server reports goes to a file of the data directory, for tests that read it.
        const std::string errors = (data_dir / "server.err").string();
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) throw std::runtime_error("cannot start " + args[0]);
        output_ = ::fdopen(out[0], "r");
        // "vorlanix-bestenliste: listening on http://127.0.0.1:PORT/"
        char line[256];
        if (std::fgets(line, sizeof line, output_) == nullptr) throw std::runtime_error("the server did not start");
        const std::string text = line;
        const auto colon = text.rfind(':');
        if (command == "serve") port_ = std::stoi(text.substr(colon + 1));
    }
    ~ServerProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            wait();
        }
        std::fclose(output_);
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int port() const { return port_; }
    pid_t pid() const { return pid_; }
    httplib::Client client() const {
        httplib::Client c("127.0.0.1", port_);
        c.set_read_timeout(30);
        return c;
    }
    static std::string errors(const std::filesystem::path& data_dir) {
        std::ifstream in(data_dir / "server.err");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void signal(int number) {
        // Never kill(-1, ...), which would reach every process of the user.
        if (pid_ > 0) ::kill(pid_, number);
    }
    // The exit status, or -signal when a signal ended it.
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    // The rest of what the server printed, once it has ended.
    std::string rest_of_output() {
        std::string text;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, output_) != nullptr) text += buffer;
        return text;
    }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::FILE* output_ = nullptr;
};

// An upload sent as the web page sends it, with its replay when given: the answer's status (-1
// without one, as from a killed server); `queued` gets the entry's id when it waits for its proof.
inline int post_upload(httplib::Client& client, const std::vector<uint8_t>& bytes,
                       const std::vector<uint8_t>& replay = {}, int64_t* queued = nullptr) {
    httplib::MultipartFormDataItems items = {
        {"qhs", std::string(bytes.begin(), bytes.end()), "upload.qhs", "application/octet-stream"}};
    if (!replay.empty()) items.push_back({"replay", std::string(replay.begin(), replay.end()), "game.vxr", ""});
    const auto res = client.Post("/api/upload", items);
    if (res && res->status == 202 && queued) *queued = nlohmann::json::parse(res->body)["id"].get<int64_t>();
    return res ? res->status : -1;
}

// Both lists as one server shows them through its API, the proved one first, each in its order.
inline std::vector<nlohmann::json> whole_list(const ServerProcess& server) {
    auto client = server.client();
    std::vector<nlohmann::json> entries;
    for (const std::string list : {"proved", "unproved"}) {
        for (int offset = 0;; offset += 100) {
            const auto res =
                client.Get(("/api/list?list=" + list + "&limit=100&offset=" + std::to_string(offset)).c_str());
            if (!res) throw std::runtime_error("no answer from the list");
            const auto json = nlohmann::json::parse(res->body);
            for (const auto& entry : json["entries"]) entries.push_back(entry);
            if (json["entries"].size() < 100) break;
        }
    }
    return entries;
}
