// SPDX-License-Identifier: GPL-3.0-or-later
// Raw HTTP over a loopback socket, for requests no well-behaved client sends.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

// A connection to the server at `port`, from `source` (any 127.x.y.z is this machine), or -1.
inline int connect_from(const char* source, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, source, &address.sin_addr);
    timeval timeout{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    address.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

inline bool send_all(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// What comes back before the server closes or 5 s pass.
inline std::string read_answer(int fd) {
    std::string answer;
    char buffer[4096];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
    return answer;
}

// Sends raw bytes and returns what comes back before the server closes or 5 s pass.
inline std::string raw_exchange(int port, const std::string& request) {
    const int fd = connect_from("127.0.0.1", port);
    std::string answer;
    if (fd >= 0 && send_all(fd, request)) answer = read_answer(fd);
    if (fd >= 0) ::close(fd);
    return answer;
}
