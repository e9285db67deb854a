#include "run/prefix_file_places.h"

#include "text/run_failure.h"
#include "text/system_path.h"

#include <system_error>

namespace stambrix::run {

names::PrefixTable LoadPrefixTable(std::span<const std::filesystem::path> places)
{
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(place, error);
        // A folder on the way that may not be searched (EACCES) hides the place as well as an absent
        // one does: no list there can be read. What stands there but cannot be read is reported.
        if (status.type() == std::filesystem::file_type::not_found || error == std::errc::permission_denied)
            continue;
        if (error)
            throw text::RunFailureFromErrno(text::Utf8Of(place), error.value());
        return names::LoadPrefixTable(place);
    }
    return names::DefaultPrefixes();
}

} // namespace stambrix::run
