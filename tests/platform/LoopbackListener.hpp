#pragma once
// A server on a loopback port that keeps the first line each caller sends, for tests of the HTML views,
// whose pages must never reach it. It takes and drops each caller at once, so that a page waiting on one
// is not held up.

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class TLoopbackListener {
  public:
    TLoopbackListener() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(socket_, reinterpret_cast<sockaddr*>(&address), size) == 0 && listen(socket_, 64) == 0 &&
            getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TLoopbackListener() {
        stop_ = true;
        thread_.join();
        close(socket_);
    }
    std::vector<std::string> Knocks() {
        std::lock_guard lock(mutex_);
        return knocks_;
    }
    int port = 0;

  private:
    void Serve() {
        while (!stop_) {
            pollfd waiting{socket_, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) continue;
            const int caller = accept(socket_, nullptr, nullptr);
            if (caller < 0) continue;
            pollfd said{caller, POLLIN, 0};
            char first[160] = {};
            const ssize_t got = poll(&said, 1, 300) > 0 ? read(caller, first, sizeof first - 1) : 0;
            std::string line =
                got > 0 && first[0] == 0x16 ? "(a TLS hello)" : std::string(first, std::max<ssize_t>(got, 0));
            line = line.substr(0, line.find('\r'));
            std::lock_guard lock(mutex_);
            knocks_.push_back(line.empty() ? "(a bare connection)" : line);
            close(caller);
        }
    }
    int socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::vector<std::string> knocks_;
    std::thread thread_;
};
