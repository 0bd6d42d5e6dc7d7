// A caller on the bus that speaks the wire by hand, to be as slow, silent or pushy as a faulty
// or hostile peer can be.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

// A connection to the socket at `path`, or -1.
inline int ConnectRaw(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// How many of the connections the other end closed without a word, once that is at least
// `wanted`, or when `timeoutMs` has passed.
inline int CountClosedUnanswered(const std::vector<int>& fds, int wanted, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<pollfd> waits;
    for (int fd : fds) waits.push_back({fd, POLLIN, 0});
    int count = 0;
    while (count < wanted && std::chrono::steady_clock::now() < end) {
        constexpr int PollMs = 20;
        if (::poll(waits.data(), waits.size(), PollMs) <= 0) continue;
        for (pollfd& wait : waits) {
            char byte = 0;
            if (!wait.revents || ::recv(wait.fd, &byte, 1, MSG_DONTWAIT) != 0) continue;
            wait.fd = -1;  // counted: no longer watched
            ++count;
        }
    }
    return count;
}
