#pragma once
// Child processes for tests of what several, dying or limited processes do to files.

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// The temporaries ("<name>.tmp.<pid>") a writer left in `folder`.
inline int countTemporaries(const std::filesystem::path& folder) {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        n += e.path().filename().string().find(".tmp.") != std::string::npos;
    return n;
}

// Runs `body` (returning an exit code) in a forked child; its exit code, or
// 128 + the signal that ended it, or -1 when it could not be started.
template <class Body>
int runForked(Body&& body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// In a child: makes every write beyond `bytes` of a file fail with EFBIG, as
// a full disk fails them with ENOSPC (no signal kills the writer).
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// In a child: mounts a tmpfs of `bytes` on `folder`, seen by this process
// only. False where mounting is not allowed.
inline bool mountSmallTmpfs(const std::filesystem::path& folder, size_t bytes) {
    if (::unshare(CLONE_NEWNS) != 0) return false;
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    const std::string options = "size=" + std::to_string(bytes);
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}
