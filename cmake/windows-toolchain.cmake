# Cross-building for 64-bit Windows with Debian's mingw-w64 (the posix thread model, which has
# std::thread). ICU and Qt come from STAMBRIX_WINDOWS_DEPS, built by scripts/build-windows.sh;
# CLI11 is headers only and is taken from this machine. Programs built here run under wine (Debian's wine64), also
# the tests through CTest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)
# In the build folder's own wine prefix, which scripts/build-windows.sh makes before it builds.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all wine)

if(NOT STAMBRIX_WINDOWS_DEPS)
    set(STAMBRIX_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${mingw} ${STAMBRIX_WINDOWS_DEPS}/icu ${STAMBRIX_WINDOWS_DEPS}/qt)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/windows-cli11)

# ICU is linked statically; its headers then leave out the DLL import markings.
set(ICU_ROOT ${STAMBRIX_WINDOWS_DEPS}/icu)
set(ICU_UC_LIBRARY_RELEASE ${ICU_ROOT}/lib/libsicuuc.a)
set(ICU_I18N_LIBRARY_RELEASE ${ICU_ROOT}/lib/libsicuin.a)
set(ICU_DATA_LIBRARY_RELEASE ${ICU_ROOT}/lib/libsicudt.a)
add_compile_definitions(U_STATIC_IMPLEMENTATION)
# One program file each: the C++ runtime, the thread library and ICU linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
