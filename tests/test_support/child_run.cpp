#include "test_support/child_run.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

extern char** environ;

namespace stambrix::test_support {

namespace {
// Everything the child needs, made before the fork: between fork and exec only async-signal-safe
// calls are made.
struct Prepared
{
    std::vector<std::string> strings;
    std::vector<char*> argv;
    std::vector<char*> envp;
};

std::string_view NameOf(std::string_view entry)
{
    return entry.substr(0, entry.find('='));
}

Prepared Prepare(const std::filesystem::path& program, const ChildSetup& setup)
{
    Prepared prepared;
    prepared.strings.push_back(program.string());
    prepared.strings.insert(prepared.strings.end(), setup.args.begin(), setup.args.end());
    const std::size_t argumentCount = prepared.strings.size();
    for (char** entry = environ; *entry != nullptr; ++entry) {
        bool replaced = false;
        for (const std::string& own : setup.environment)
            replaced = replaced || NameOf(own) == NameOf(*entry);
        if (!replaced)
            prepared.strings.emplace_back(*entry);
    }
    prepared.strings.insert(prepared.strings.end(), setup.environment.begin(), setup.environment.end());
    for (std::size_t i = 0; i < prepared.strings.size(); ++i)
        (i < argumentCount ? prepared.argv : prepared.envp).push_back(prepared.strings[i].data());
    prepared.argv.push_back(nullptr);
    prepared.envp.push_back(nullptr);
    return prepared;
}

// In the child: says why it could not start, on its stderr, and ends.
[[noreturn]] void FailInChild(const char* step)
{
    const char* reason = strerror(errno);
    for (const char* part : {"child: ", step, ": ", reason, "\n"})
        (void)!write(STDERR_FILENO, part, strlen(part));
    _exit(127);
}

void BecomeUnprivileged()
{
    if (setgroups(0, nullptr) != 0)
        FailInChild("setgroups");
    if (setgid(kUnprivilegedId) != 0)
        FailInChild("setgid");
    if (setuid(kUnprivilegedId) != 0)
        FailInChild("setuid");
}

std::FILE* CaptureFile()
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr)
        throw std::system_error(errno, std::generic_category(), "cannot make a file for a child's output");
    return file;
}

std::string ContentsOf(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char block[4096];
    for (std::size_t count; (count = std::fread(block, 1, sizeof block, file)) != 0;)
        text.append(block, count);
    return text;
}

// waitpid, tried again when a signal to this process cuts it short.
pid_t WaitFor(pid_t pid, int& status, int options)
{
    pid_t changed;
    do
        changed = waitpid(pid, &status, options);
    while (changed < 0 && errno == EINTR);
    return changed;
}
} // namespace

Child::Child(const std::filesystem::path& program, const ChildSetup& setup) : out_(CaptureFile()), err_(CaptureFile())
{
    Prepared prepared = Prepare(program, setup);
    const bool dropRoot = setup.unprivileged && RunsAsRoot();
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ < 0) {
        const int reason = errno;
        std::fclose(out_);
        std::fclose(err_);
        throw std::system_error(reason, std::generic_category(), "cannot start " + program.string());
    }
    if (pid_ != 0)
        return;
    if (dup2(fileno(out_), STDOUT_FILENO) < 0 || dup2(fileno(err_), STDERR_FILENO) < 0)
        _exit(127);
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing >= 0)
        dup2(nothing, STDIN_FILENO);
    if (setup.fileSizeLimit) {
        const rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            FailInChild("setrlimit");
    }
    if (setup.memoryLimit) {
        const rlimit limit{*setup.memoryLimit, *setup.memoryLimit};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            FailInChild("setrlimit");
    }
    for (const int signal : setup.ignoredSignals)
        if (::signal(signal, SIG_IGN) == SIG_ERR)
            FailInChild("signal");
    if (dropRoot)
        BecomeUnprivileged();
    execve(prepared.argv[0], prepared.argv.data(), prepared.envp.data());
    FailInChild(prepared.argv[0]);
}

Child::~Child()
{
    if (pid_ <= 0)
        return;
    // A child not reaped yet is still there to take the signal, whatever it is doing.
    if (!endStatus_)
        kill(pid_, SIGCONT);
    (void)Wait();
}

bool Child::WaitUntilStopped()
{
    int status = 0;
    const pid_t changed = WaitFor(pid_, status, WUNTRACED);
    if (changed > 0 && WIFSTOPPED(status))
        return true;
    if (changed < 0)
        throw std::system_error(errno, std::generic_category(), "cannot wait for process " + std::to_string(pid_));
    endStatus_ = status;
    return false;
}

void Child::Send(int signal)
{
    if (kill(pid_, signal) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot signal process " + std::to_string(pid_));
}

ChildResult Child::Wait()
{
    ChildResult result;
    int status = endStatus_.value_or(0);
    const bool ended = endStatus_.has_value() || WaitFor(pid_, status, 0) > 0;
    pid_ = -1;
    if (ended && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (ended && WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.out = ContentsOf(out_);
    result.err = ContentsOf(err_);
    std::fclose(out_);
    std::fclose(err_);
    out_ = err_ = nullptr;
    return result;
}

ChildResult RunChild(const std::filesystem::path& program, const ChildSetup& setup)
{
    return Child(program, setup).Wait();
}

std::string SystemReason(int errorNumber)
{
    const locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return strerror(errorNumber);
    std::string reason = strerror_l(errorNumber, locale);
    freelocale(locale);
    return reason;
}

std::vector<std::string> WithPreload(std::vector<std::string> variables, const std::filesystem::path& preload)
{
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    variables.push_back("LD_PRELOAD=" + preload.string());
    variables.push_back(std::string("ASAN_OPTIONS=") + (sanitizerOptions != nullptr ? sanitizerOptions : "") +
                        ":verify_asan_link_order=0");
    return variables;
}

bool RunsAsRoot()
{
    return geteuid() == 0;
}

bool UnprivilegedChildCan(const std::filesystem::path& path, int mode)
{
    if (!RunsAsRoot())
        return access(path.c_str(), mode) == 0;
    const pid_t pid = fork();
    if (pid < 0)
        throw std::system_error(errno, std::generic_category(), "cannot start a process");
    if (pid == 0) {
        BecomeUnprivileged();
        _exit(access(path.c_str(), mode) == 0 ? 0 : 1);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void HandToUnprivilegedChild(const std::filesystem::path& path)
{
    if (!RunsAsRoot())
        return;
    const auto give = [](const std::filesystem::path& entry) {
        if (lchown(entry.c_str(), kUnprivilegedId, kUnprivilegedId) != 0)
            throw std::system_error(errno, std::generic_category(), "cannot give away " + entry.string());
    };
    give(path);
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(path)))
        return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        give(entry.path());
}

} // namespace stambrix::test_support
