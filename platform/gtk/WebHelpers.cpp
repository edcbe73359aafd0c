#include "platform/gtk/WebHelpers.hpp"

#include "platform/Platform.hpp"

#include <glib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::thread Watch;
std::mutex Sleeping;
std::condition_variable Wake;
bool Stopping = false;

// Our children, read from the kernel's list of each of our threads' children.
std::vector<pid_t> Children() {
    std::vector<pid_t> children;
    for (const std::string& task : ListDirectory("/proc/self/task")) {
        if (task.empty() || task.front() == '.') continue;
        std::ifstream list("/proc/self/task/" + task + "/children");
        for (pid_t child = 0; list >> child;)
            children.push_back(child);
    }
    return children;
}

std::string Command(pid_t pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

long ResidentMb(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long size = 0, pages = 0;
    statm >> size >> pages;
    return pages * (sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

// Every twentieth of a second: a page allocating as fast as a script can gets a few tens of megabytes past
// the cap at most.
void WatchMemory() {
    std::unique_lock lock(Sleeping);
    while (!Wake.wait_for(lock, std::chrono::milliseconds(50), [] { return Stopping; })) {
        for (pid_t child : Children()) {
            if (Command(child).starts_with("WebKitWebProc") && ResidentMb(child) > WebMemoryCapMb)
                kill(child, SIGKILL);
        }
    }
}

void StopWatch() {
    if (!Watch.joinable()) return;
    {
        std::lock_guard lock(Sleeping);
        Stopping = true;
    }
    Wake.notify_all();
    Watch.join();
}

} // namespace

void StartMemoryWatch() {
    if (Watch.joinable()) return;
    Watch = std::thread(WatchMemory);
    // A program that ends without EndHelpers (a test) still stops the watch before its statics go.
    std::atexit(StopWatch);
}

void EndHelpers() {
    StopWatch();
    std::vector<pid_t> helpers = Children();
    std::erase_if(helpers, [](pid_t child) { return !Command(child).starts_with("WebKit"); });
    for (pid_t helper : helpers)
        kill(helper, SIGTERM);
    const gint64 until = g_get_monotonic_time() + 300000;
    while (!helpers.empty()) {
        std::erase_if(helpers, [](pid_t helper) { return waitpid(helper, nullptr, WNOHANG) != 0; });
        if (helpers.empty()) break;
        if (g_get_monotonic_time() > until) {
            for (pid_t helper : helpers) {
                kill(helper, SIGKILL);
                waitpid(helper, nullptr, 0);
            }
            break;
        }
        g_usleep(2000);
    }
}
