// SPDX-License-Identifier: GPL-3.0-or-later
// The header wait peeks at the socket and lets poll() sleep until more bytes than already seen
// have come (SO_RCVLOWAT), so a slow client costs no CPU while it trickles; httplib then reads the
// header and the body through a GuardedStream.
#include "server/connection_guard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

namespace bestenliste {

namespace {

using Clock = std::chrono::steady_clock;

int milliseconds_until(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, 60'000));
}

bool has_header_end(std::string_view bytes) {
    return bytes.find("\r\n\r\n") != std::string_view::npos || bytes.find("\n\n") != std::string_view::npos;
}

void set_low_water(int socket, int bytes) { ::setsockopt(socket, SOL_SOCKET, SO_RCVLOWAT, &bytes, sizeof bytes); }

}  // namespace

Admission ConnectionGuard::admit(const std::string& address) {
    std::lock_guard lock(counts_mutex_);
    if (total_ >= limits_.total) return Admission::TooMany;
    if (limits_.per_address > 0) {
        int& mine = per_address_[address];
        if (mine >= limits_.per_address) {
            if (mine == 0) per_address_.erase(address);
            return Admission::TooManyFromAddress;
        }
        ++mine;
    }
    ++total_;
    return Admission::Admitted;
}

void ConnectionGuard::leave(const std::string& address) {
    std::lock_guard lock(counts_mutex_);
    --total_;
    if (limits_.per_address > 0) {
        const auto found = per_address_.find(address);
        if (found != per_address_.end() && --found->second <= 0) per_address_.erase(found);
    }
}

bool ConnectionGuard::crowded() {
    std::lock_guard lock(counts_mutex_);
    return 4 * total_ > 3 * limits_.total;
}

HeaderWait ConnectionGuard::await_header(int socket, Clock::time_point deadline) const {
    std::vector<char> seen(limits_.header_bytes);
    HeaderWait result = HeaderWait::TooSlow;
    while (true) {
        const ssize_t got = ::recv(socket, seen.data(), seen.size(), MSG_PEEK | MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            result = HeaderWait::Closed;
            break;
        }
        const size_t have = got > 0 ? static_cast<size_t>(got) : 0;
        if (has_header_end({seen.data(), have})) {
            result = HeaderWait::Arrived;
            break;
        }
        if (have >= seen.size()) {
            result = HeaderWait::TooLarge;
            break;
        }
        set_low_water(socket, static_cast<int>(have) + 1);
        pollfd wanted{socket, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, milliseconds_until(deadline));
        if (ready == 0 || Clock::now() >= deadline) break;
        if (ready < 0 && errno != EINTR) {
            result = HeaderWait::Closed;
            break;
        }
    }
    set_low_water(socket, 1);
    return result;
}

namespace {

bool wait_for(int socket, short events, Clock::time_point deadline) {
    while (true) {
        pollfd wanted{socket, events, 0};
        const int ready = ::poll(&wanted, 1, milliseconds_until(deadline));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

}  // namespace

bool GuardedStream::is_readable() const { return position_ < filled_ || wait_for(socket_, POLLIN, read_deadline_); }

bool GuardedStream::is_writable() const { return wait_for(socket_, POLLOUT, Clock::now() + write_time_); }

ssize_t GuardedStream::read(char* ptr, size_t size) {
    if (position_ == filled_) {
        if (!wait_for(socket_, POLLIN, read_deadline_)) return -1;
        const ssize_t got = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
        if (got <= 0) return got;
        position_ = 0;
        filled_ = static_cast<size_t>(got);
    }
    const size_t n = std::min(size, filled_ - position_);
    std::copy_n(buffer_.data() + position_, n, ptr);
    position_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t GuardedStream::write(const char* ptr, size_t size) {
    if (!is_writable()) return -1;
    return ::send(socket_, ptr, size, MSG_NOSIGNAL);
}

namespace {

void address_of(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    } else {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    }
    ip = text;
}

}  // namespace

void GuardedStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0) address_of(address, ip, port);
}

void GuardedStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0) address_of(address, ip, port);
}

std::string peer_address(int socket) {
    std::string ip;
    int port = 0;
    GuardedStream(socket, Clock::now(), std::chrono::milliseconds(0)).get_remote_ip_and_port(ip, port);
    return ip;
}

void close_lingering(int socket, size_t bytes, std::chrono::milliseconds time) {
    const auto deadline = Clock::now() + time;
    // The answer is whole: the client sees its end while what it still sends is read away.
    ::shutdown(socket, SHUT_WR);
    char sink[16 * 1024];
    size_t drained = 0;
    while (drained < bytes) {
        pollfd wanted{socket, POLLIN, 0};
        if (::poll(&wanted, 1, milliseconds_until(deadline)) <= 0) break;
        const ssize_t got = ::recv(socket, sink, sizeof sink, MSG_DONTWAIT);
        if (got <= 0) break;
        drained += static_cast<size_t>(got);
    }
    ::close(socket);
}

void send_refusal(int socket, int status) {
    std::string_view answer;
    switch (status) {
        case 408:
            answer =
                "HTTP/1.1 408 Request Timeout\r\nContent-Type: text/plain\r\nContent-Length: 16\r\n"
                "Connection: close\r\n\r\nRequest Timeout\n";
            break;
        case 431:
            answer =
                "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Type: text/plain\r\n"
                "Content-Length: 32\r\nConnection: close\r\n\r\nRequest Header Fields Too Large\n";
            break;
        default:
            answer =
                "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain\r\nContent-Length: 20\r\n"
                "Retry-After: 10\r\nConnection: close\r\n\r\nService Unavailable\n";
            break;
    }
    (void)!::send(socket, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

}  // namespace bestenliste
