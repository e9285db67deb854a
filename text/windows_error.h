#pragma once

// Windows only: the bridge between Windows' error codes and the errno values the core reasons with.
namespace stambrix::text {

/// The errno value of the Windows error code `windowsError` (GetLastError), EIO for one without a
/// counterpart.
int ErrnoOfWindowsError(unsigned long windowsError);

/// The errno value of the last Windows error of the calling thread.
int LastWindowsError();

} // namespace stambrix::text
