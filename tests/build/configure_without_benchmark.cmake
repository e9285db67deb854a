# Configures the project where Google Benchmark cannot be found. With the defaults the configuration
# succeeds; with the benchmarks asked for it stops with a message that says what to do, and leaves
# what the build folder already held.
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DGENERATOR=... -P configure_without_benchmark.cmake
file(REMOVE_RECURSE "${BUILD_DIR}")
file(WRITE "${BUILD_DIR}/kept.txt" "written before the configuration\n")

# Runs the configuration with the options given after the common ones; sets `result` and `errors`.
function(configure)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G "${GENERATOR}" -DSTAMBRIX_BUILD_TESTS=OFF
                -DSTAMBRIX_BUILD_APP=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON ${ARGN}
        RESULT_VARIABLE configure_result
        OUTPUT_QUIET
        ERROR_VARIABLE configure_errors)
    set(result "${configure_result}" PARENT_SCOPE)
    set(errors "${configure_errors}" PARENT_SCOPE)
endfunction()

configure()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the default configuration needs Google Benchmark:\n${errors}")
endif()

configure(-DSTAMBRIX_BUILD_BENCH=ON)
if(result EQUAL 0)
    message(FATAL_ERROR "the benchmarks were configured without Google Benchmark")
endif()
string(REGEX REPLACE "[ \n]+" " " message "${errors}")
string(FIND "${message}"
       "STAMBRIX_BUILD_BENCH is on, but Google Benchmark is not installed: install libbenchmark-dev (scripts/install-deps.sh --tests) or configure with -DSTAMBRIX_BUILD_BENCH=OFF"
       found)
if(found EQUAL -1)
    message(FATAL_ERROR "the configuration failed without saying what to do:\n${errors}")
endif()

file(READ "${BUILD_DIR}/kept.txt" kept)
if(NOT kept STREQUAL "written before the configuration\n")
    message(FATAL_ERROR "${BUILD_DIR}/kept.txt was changed to \"${kept}\"")
endif()
file(REMOVE_RECURSE "${BUILD_DIR}")
