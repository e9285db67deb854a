# CLI11 for the Windows build: Debian's headers, which are plain C++, seen through a folder that holds
# them alone, so that the cross-compiler does not see this machine's C library headers beside them.
set(CLI11_FOUND TRUE)
set(cli11Include ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${cli11Include})
file(CREATE_LINK /usr/include/CLI ${cli11Include}/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${cli11Include})
