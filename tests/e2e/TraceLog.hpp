#pragma once
// Reads what `strace -f -y` wrote about a run of the game's views, and lists what the views may never do:
// sockets other than local ones, name lookups, files read by the engine's helper processes outside the
// system's own folders, and files written outside the temporary folder. Each list holds the offending
// calls as strace wrote them, after the name of the program that made them.

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

class TraceLog {
  public:
    // The calls strace is to follow for this reading.
    static inline const std::string TracedCalls =
        "execve,clone,clone3,fork,vfork,socket,connect,sendto,sendmsg,sendmmsg,open,openat,openat2,creat,"
        "mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,link,linkat,symlink,symlinkat,truncate";

    // `temporary` is the run's temporary folder, the one place where the game may write.
    TraceLog(const std::string& text, const std::string& temporary);

    std::vector<std::string> Sockets() const;
    std::vector<std::string> NameLookups() const;
    std::vector<std::string> HelperReadsOutside() const;
    std::vector<std::string> WritesOutside() const;
    // Every file a helper process opened, for drawing up the allow-list by hand.
    std::vector<std::string> HelperOpens() const;

  private:
    struct TCall {
        pid_t pid = 0;
        std::string name, args, result;
        bool Failed() const { return result.starts_with("-1") || result.starts_with("?"); }
        std::string Path() const; // the first quoted argument
        std::string Line() const;
    };
    std::string Program(pid_t pid) const;
    bool Helper(pid_t pid) const;

    std::vector<TCall> calls_;
    std::map<pid_t, pid_t> parent_;
    std::map<pid_t, std::string> program_;
    std::string temporary_;
};
