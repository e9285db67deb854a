#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace stambrix::test_support {

/// A fresh, empty folder of its own under the system's temporary folder, named `<prefix>-XXXXXX`
/// with the Xs made unique. The destructor removes it with everything in it, giving the owner
/// full permission on each entry first, so a file or folder a test made read-only does not stay
/// behind. Symbolic links inside are removed, never followed. Throws `std::system_error` when the
/// folder cannot be made.
class TempFolder
{
public:
    explicit TempFolder(std::string_view prefix)
    {
#ifdef _WIN32
        // Windows has no mkdtemp: a name is drawn until one is free.
        std::random_device random;
        for (;;) {
            const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                                 (std::string(prefix) + "-" + std::to_string(random() % 1000000000));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error)) {
                path_ = folder;
                return;
            }
            if (error)
                throw std::system_error(error, "cannot make a temporary folder " + folder.string());
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "cannot make a temporary folder " + pattern);
        path_ = pattern;
#endif
    }
    ~TempFolder()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        // A folder's permission is given back before the iterator steps into it.
        for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (!it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
            ec.clear();
        }
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// Where the folder is.
    const std::filesystem::path& path() const
    {
        return path_;
    }

private:
    std::filesystem::path path_;
};

} // namespace stambrix::test_support
