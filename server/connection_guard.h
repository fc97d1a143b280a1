// SPDX-License-Identifier: GPL-3.0-or-later
// What one connection may cost the server: a cap on connections per client address and in total,
// a deadline for the header and one for the whole request, a bound on the header's size, and a
// lingering close that lets a client still sending read its answer.
#pragma once

#include <httplib.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace bestenliste {

struct ConnectionLimits {
    int total = 256;       // connections served at once, from everyone
    int per_address = 32;  // from one client address; 0 = no cap (behind a proxy, which caps them itself)
    std::chrono::milliseconds header_time{10'000};   // from the connection's start to the header's end
    std::chrono::milliseconds request_time{60'000};  // from the connection's start to the body's end
    size_t header_bytes = 16 * 1024;                 // request line and every header field together
    int header_fields = 64;
    // A connection kept open after an answer must bring its next whole header within this time;
    // it counts against the caps while it waits, so it is kept only while most are free.
    std::chrono::milliseconds keep_alive_idle{5'000};
    int keep_alive_requests = 100;  // requests on one connection; 1: every connection closes after its answer
};

enum class Admission { Admitted, TooManyFromAddress, TooMany };
enum class HeaderWait { Arrived, TooLarge, TooSlow, Closed };

class ConnectionGuard {
  public:
    explicit ConnectionGuard(ConnectionLimits limits) : limits_(limits) {}

    const ConnectionLimits& limits() const { return limits_; }

    // Counts a connection in; every admitted one is counted out by leave().
    Admission admit(const std::string& address);
    void leave(const std::string& address);
    // Whether more than three quarters of the connections are taken: then none is kept open idle.
    bool crowded();

    // Waits, without reading anything, until the socket holds a whole header; the bytes stay for
    // the HTTP library to read.
    HeaderWait await_header(int socket, std::chrono::steady_clock::time_point deadline) const;

  private:
    ConnectionLimits limits_;
    std::mutex counts_mutex_;
    int total_ = 0;
    std::unordered_map<std::string, int> per_address_;
};

// The socket of one connection as httplib reads and writes it, under deadlines that hold for the
// whole request (httplib's own timeouts start again with every byte, which a trickle defeats).
class GuardedStream : public httplib::Stream {
  public:
    GuardedStream(int socket, std::chrono::steady_clock::time_point read_deadline, std::chrono::milliseconds write_time)
        : socket_(socket), read_deadline_(read_deadline), write_time_(write_time) {}

    // The deadline for the rest of the request, when a kept connection brings its next one.
    void set_read_deadline(std::chrono::steady_clock::time_point deadline) { read_deadline_ = deadline; }
    // Bytes read from the socket that the last request did not use (a pipelined request).
    bool holds_unread() const { return position_ < filled_; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

  private:
    int socket_;
    std::chrono::steady_clock::time_point read_deadline_;
    std::chrono::milliseconds write_time_;
    std::array<char, 4096> buffer_{};
    size_t position_ = 0, filled_ = 0;
};

// The client's address of a connected socket, as text.
std::string peer_address(int socket);

// Reads and discards what a client still sends after its answer (at most `bytes`, for at most
// `time`), so that closing the socket does not reset the connection before the client has read
// the answer; then closes it.
void close_lingering(int socket, size_t bytes, std::chrono::milliseconds time);

// A complete answer of our own for a connection refused before the HTTP library reads it.
void send_refusal(int socket, int status);

}  // namespace bestenliste
