#include "platform/FileBytes.hpp"

#include "platform/Platform.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why a file is not read; empty when it may be.
std::string Refusal(const struct stat& info, size_t maxBytes) {
    if (!S_ISREG(info.st_mode)) return "is not a regular file; it is not read.";
    if (static_cast<uint64_t>(info.st_size) > maxBytes)
        return "is larger than " + std::to_string(maxBytes) + " bytes; it is not read.";
    return "";
}

bool Readable(const std::string& path, const struct stat& info, size_t maxBytes, std::string* refusal) {
    const std::string why = Refusal(info, maxBytes);
    if (why.empty()) return true;
    if (refusal != nullptr)
        *refusal = why;
    else
        DebugLog("WARNING: " + path + " " + why);
    return false;
}

} // namespace

bool ReadFileBytes(const std::string& path, size_t maxBytes, std::string& bytes, std::string* refusal) {
    bytes.clear();
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return false;
    // Checked before opening, since opening a FIFO waits for a writer, and again on the open descriptor in
    // case the path was replaced in between; non-blocking so that such a swap cannot block the open either.
    if (!Readable(path, info, maxBytes, refusal)) return false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fstat(fd, &info) == 0 && Readable(path, info, maxBytes, refusal);
    if (ok) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t count = read(fd, bytes.data() + got, bytes.size() - got);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) break;
            got += static_cast<size_t>(count);
        }
        bytes.resize(got);
    }
    close(fd);
    return ok;
}
