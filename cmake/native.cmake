# Native Linux tree: the portable code and its GoogleTest unit tests.
option(SNQ_FUZZ "Build the libFuzzer targets (with clang) instead of the unit tests" OFF)
if(SNQ_FUZZ)
    target_compile_options(snq_portable PUBLIC -g -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=all)
    target_link_options(snq_portable PUBLIC -fsanitize=address,undefined)
    foreach(name hotkey address locale dialog webaddress)
        add_executable(fuzz_${name} ${CMAKE_SOURCE_DIR}/fuzz/fuzz_${name}.cpp)
        target_link_libraries(fuzz_${name} PRIVATE snq_portable)
        target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
        add_test(NAME fuzz_${name}
                 COMMAND ${CMAKE_SOURCE_DIR}/fuzz/run-target.sh $<TARGET_FILE:fuzz_${name}>
                         ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_BINARY_DIR}/corpus/${name})
    endforeach()
    return()
endif()

find_package(GTest REQUIRED)

option(SNQ_SANITIZE "Build the native tests with AddressSanitizer and UBSan" OFF)
if(SNQ_SANITIZE)
    # Every report ends the run with an error: without -fno-sanitize-recover,
    # UBSan prints "runtime error" and carries on with exit code 0.
    foreach(t snq_portable)
        target_compile_options(${t} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all
                               -fno-omit-frame-pointer)
        target_link_options(${t} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all)
    endforeach()
endif()

file(GLOB SNQ_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${SNQ_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE snq_portable GTest::gtest GTest::gtest_main GTest::gmock)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# Table rows name only the fields they set (designated initializers), which
# GCC 12 still warns about.
target_compile_options(unit_tests PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-missing-field-initializers>)
add_test(NAME unit_tests COMMAND unit_tests)
set_tests_properties(unit_tests PROPERTIES ENVIRONMENT
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1;ASAN_OPTIONS=halt_on_error=1")
