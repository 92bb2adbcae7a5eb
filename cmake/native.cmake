# Native Linux tree: the portable code and its GoogleTest unit tests.
find_package(GTest REQUIRED)

option(SNQ_SANITIZE "Build the native tests with AddressSanitizer and UBSan" OFF)
if(SNQ_SANITIZE)
    foreach(t snq_portable)
        target_compile_options(${t} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer)
        target_link_options(${t} PUBLIC -fsanitize=address,undefined)
    endforeach()
endif()

file(GLOB SNQ_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${SNQ_UNIT_TESTS})
target_link_libraries(unit_tests PRIVATE snq_portable GTest::gtest GTest::gtest_main GTest::gmock)
add_test(NAME unit_tests COMMAND unit_tests)
