# Build options shared by every target of the tree.

option(KESTRIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KESTRIX_TSAN "Build with ThreadSanitizer (exclusive with KESTRIX_SANITIZE)" OFF)
option(KESTRIX_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(KESTRIX_BUILD_TESTS "Build the test suites" ON)
option(KESTRIX_BUILD_BENCH "Build the benchmarks" ON)

if(KESTRIX_SANITIZE AND KESTRIX_TSAN)
    message(FATAL_ERROR "KESTRIX_SANITIZE and KESTRIX_TSAN cannot be combined")
endif()

if(KESTRIX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(KESTRIX_TSAN)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

if(KESTRIX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KESTRIX_FUZZ needs clang: configure with CXX=clang++ CC=clang")
    endif()
    # Every object gets coverage instrumentation; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Each fuzz target is one source file with LLVMFuzzerTestOneInput.
function(kestrix_add_fuzzer name source)
    if(NOT KESTRIX_FUZZ)
        return()
    endif()
    add_executable(${name} ${source})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARGN})
endfunction()
