# Windows build: brisvale.exe, the stand-in backend dravik.exe, the Windows test programs
# (run under Wine through CMAKE_CROSSCOMPILING_EMULATOR) and the end-to-end tests.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options(-Wall -Wextra)
add_link_options(-static -static-libgcc -static-libstdc++)

# Artwork: LED lamps, banner and icon, drawn by a small host program at build time.
find_program(HOST_CXX NAMES g++ c++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(ART_DIR ${CMAKE_BINARY_DIR}/art)
set(ART_FILES ${ART_DIR}/led130.bmp ${ART_DIR}/led131.bmp ${ART_DIR}/led132.bmp ${ART_DIR}/led133.bmp
              ${ART_DIR}/led134.bmp ${ART_DIR}/led135.bmp ${ART_DIR}/banner136.bmp ${ART_DIR}/app128.ico)
add_custom_command(OUTPUT ${ART_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ART_DIR}
  COMMAND ${HOST_CXX} -std=c++17 -O2 ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.cpp -o ${ART_DIR}/artgen
  COMMAND ${ART_DIR}/artgen ${ART_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.cpp
  COMMENT "Drawing the LED lamps, banner and icon")
add_custom_target(artwork DEPENDS ${ART_FILES})

add_library(brisvale_core STATIC ${CORE_SOURCES})
target_include_directories(brisvale_core PUBLIC src)

add_library(brisvale_win32 STATIC ${WIN32_SOURCES})
target_include_directories(brisvale_win32 PUBLIC src res)
target_link_libraries(brisvale_win32 PUBLIC brisvale_core comctl32 iphlpapi ws2_32 psapi gdi32 user32 advapi32 shell32 uuid)

set_source_files_properties(res/brisvale.rc PROPERTIES OBJECT_DEPENDS "${ART_FILES};${CMAKE_SOURCE_DIR}/res/brisvale.manifest")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${ART_DIR} -I${CMAKE_SOURCE_DIR}/res")
add_executable(brisvale WIN32 src/app/MainWin32.cpp res/brisvale.rc)
add_dependencies(brisvale artwork)
target_link_options(brisvale PRIVATE -municode)
target_link_libraries(brisvale brisvale_win32)

file(GLOB SIM_SOURCES CONFIGURE_DEPENDS sim/*.cpp)
if(SIM_SOURCES)
  add_executable(dravik ${SIM_SOURCES})
  target_include_directories(dravik PRIVATE src)
  target_link_options(dravik PRIVATE -municode)
  target_link_libraries(dravik ws2_32)
endif()

# Windows test programs.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${WIN_TESTS} res/brisvale.rc)
add_dependencies(win_tests artwork)
target_link_libraries(win_tests brisvale_win32 GTest::gtest_main GTest::gmock)
add_test(NAME win_tests COMMAND win_tests)
set_tests_properties(win_tests PROPERTIES ENVIRONMENT "BRISVALE_BIN=${CMAKE_BINARY_DIR}")

# End-to-end: brisvale.exe itself under Wine and Xvfb, driven by probe.exe and xdotool.
file(GLOB PROBE_SOURCES CONFIGURE_DEPENDS tests/e2e/probe/*.cpp)
if(PROBE_SOURCES)
  add_executable(probe ${PROBE_SOURCES})
  target_link_options(probe PRIVATE -municode)
  target_link_libraries(probe comctl32 psapi iphlpapi ws2_32)
endif()
file(GLOB E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.sh)
foreach(script ${E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script})
  set_tests_properties(e2e_${name} PROPERTIES
    ENVIRONMENT "BRISVALE_BIN=${CMAKE_BINARY_DIR};BRISVALE_SRC=${CMAKE_SOURCE_DIR}"
    RESOURCE_LOCK wine_desktop TIMEOUT 600)
endforeach()

# Benchmarks and leak figures (scripts/bench.sh, tests/soak): the measuring tool and the
# minimal dialog that the start-up time is set against.
add_executable(benchtool tools/bench/benchtool.cpp)
target_link_options(benchtool PRIVATE -municode)
target_link_libraries(benchtool psapi user32 gdi32)
add_executable(minimal_dialog WIN32 tools/bench/minimal_dialog.cpp tools/bench/minimal_dialog.rc)
target_link_options(minimal_dialog PRIVATE -municode)

# Benchmarks: programs that print timings, not tests.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} res/brisvale.rc)
  add_dependencies(${name} artwork)
  target_link_options(${name} PRIVATE -municode)
  target_link_libraries(${name} brisvale_win32)
endforeach()
