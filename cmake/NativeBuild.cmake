# Native build: the platform-free core and its unit tests, under ASan+UBSan by default,
# or TSan for the concurrency tests (BRISVALE_SANITIZER=thread), plus libFuzzer targets
# when configured with clang (BRISVALE_FUZZ=ON).
set(BRISVALE_SANITIZER "address" CACHE STRING "address, thread or none")
option(BRISVALE_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(BRISVALE_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(BRISVALE_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
add_compile_options(-Wall -Wextra)

add_library(brisvale_core STATIC ${CORE_SOURCES} src/common/AnsiTextPortable.cpp)
target_include_directories(brisvale_core PUBLIC src res)
find_package(Threads REQUIRED)
target_link_libraries(brisvale_core PUBLIC Threads::Threads)

# The core must never see <windows.h>.
add_test(NAME core_has_no_windows_header
         COMMAND sh -c "! grep -rlE '#include *<(windows|winuser|winbase)\\.h>' --include=*.cpp --include=*.h src/common src/app src/config src/network src/supervision src/ui | grep -v 'Win32\\.\\(cpp\\|h\\)$'"
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})

# Includes point down only: app -> config, network, supervision, ui -> win32 -> common.
add_test(NAME includes_point_down
         COMMAND sh -c "! grep -rnE '#include \"app/' src/common src/win32 src/config src/network src/supervision src/ui && ! grep -rnE '#include \"(config|network|supervision|ui)/' src/common src/win32 && ! grep -rnE '#include \"win32/' src/common"
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})

if(BRISVALE_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} brisvale_core)
  endforeach()
  return()
endif()

# Benchmark programs: they print numbers and are not tests.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/native/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} brisvale_core)
endforeach()

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TESTS})
target_link_libraries(unit_tests brisvale_core GTest::gtest_main GTest::gmock)
if(BRISVALE_SANITIZER STREQUAL "thread")
  # Under TSan only the tests that start threads matter.
  add_test(NAME unit_tests_tsan COMMAND unit_tests --gtest_filter=*Concurrency*:*Thread*:SearchTiming*)
else()
  add_test(NAME unit_tests COMMAND unit_tests)
endif()
