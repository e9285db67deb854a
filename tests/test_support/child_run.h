#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Running a program as a child process, under conditions a test cannot make in-process: a file
// size limit, another user, a preloaded library, two runs at the same moment.
namespace stambrix::test_support {

/// The user and group children run as when `unprivileged` is asked of a process running as root:
/// "nobody", who owns nothing the test did not give it.
inline constexpr uid_t kUnprivilegedId = 65534;

/// How a child is started.
struct ChildSetup
{
    std::vector<std::string> args;        ///< the arguments after the program path
    std::vector<std::string> environment; ///< "NAME=value" entries added to this process's, replacing the same NAME
    std::optional<std::uint64_t> fileSizeLimit; ///< RLIMIT_FSIZE in bytes: no file may grow past it
    std::optional<std::uint64_t> memoryLimit;   ///< RLIMIT_AS in bytes: allocations past it fail
    bool unprivileged = false;                  ///< when this process runs as root, the child runs as kUnprivilegedId
    std::vector<int> ignoredSignals; ///< signals the child starts with ignored, as nohup starts a program with SIGHUP
};

/// How a child ended and what it printed.
struct ChildResult
{
    int exitCode = -1; ///< -1 when a signal ended it
    int signal = 0;    ///< the signal that ended it, 0 when it exited
    std::string out;
    std::string err;
};

/// A running child: started by the constructor, its stdout and stderr caught in unnamed temporary
/// files. A child that cannot start ends with exit code 127 and the reason on its stderr. Throws
/// `std::system_error` when no process can be made.
class Child
{
public:
    Child(const std::filesystem::path& program, const ChildSetup& setup);
    /// Waits for a child not waited for yet, continuing it first should it be stopped.
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    /// Waits until the child stops (SIGSTOP); false when it ends instead, as Wait then tells.
    bool WaitUntilStopped();

    /// Sends `signal` to the child.
    void Send(int signal);

    /// Waits until the child ends; once only.
    ChildResult Wait();

private:
    pid_t pid_ = -1;
    std::optional<int> endStatus_; ///< the status of a child that ended while WaitUntilStopped waited
    std::FILE* out_ = nullptr;
    std::FILE* err_ = nullptr;
};

/// Starts `program` with `setup` and waits until it ends.
ChildResult RunChild(const std::filesystem::path& program, const ChildSetup& setup);

/// The operating system's reason for `errorNumber` in the words a child started now prints it: in the
/// language its environment (LC_ALL, LC_MESSAGES, LANG) chooses, as stambrix-cli does.
std::string SystemReason(int errorNumber);

/// `variables` and the ones that load the library `preload` into a child, before AddressSanitizer,
/// which wants to be the first library.
std::vector<std::string> WithPreload(std::vector<std::string> variables, const std::filesystem::path& preload);

/// This process runs as root, for whom permission bits do not stop reading or writing.
bool RunsAsRoot();

/// Whether a child with `unprivileged` set may access `path` as `mode` asks (R_OK, W_OK, X_OK),
/// checked by a process of that user.
bool UnprivilegedChildCan(const std::filesystem::path& path, int mode);

/// When this process runs as root, gives `path` and everything inside it to kUnprivilegedId, so an
/// unprivileged child meets its own files with their permission bits, as a user does. Symbolic
/// links are not followed. Throws `std::system_error`.
void HandToUnprivilegedChild(const std::filesystem::path& path);

} // namespace stambrix::test_support
