# Windows build: brisvale.exe, the stand-in backend dravik.exe, the Windows test programs
# (run under Wine through CMAKE_CROSSCOMPILING_EMULATOR) and the end-to-end tests.
# The same project configures with MinGW-w64 (cross or native) and with MSVC on Windows.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(MSVC)
  add_compile_options(/W4 /utf-8)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")  # static runtime
else()
  add_compile_options(-Wall -Wextra)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Programs whose entry point is wmain or wWinMain.
function(brisvale_unicode_entry target)
  if(MSVC)
    get_target_property(gui ${target} WIN32_EXECUTABLE)
    if(gui)
      target_link_options(${target} PRIVATE /ENTRY:wWinMainCRTStartup)
    else()
      target_link_options(${target} PRIVATE /ENTRY:wmainCRTStartup)
    endif()
  else()
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# Artwork: LED lamps, banner and icon, drawn by a small program at build time (with the host
# compiler when cross-compiling, else as a target of this build).
set(ART_DIR ${CMAKE_BINARY_DIR}/art)
set(ART_FILES ${ART_DIR}/led130.bmp ${ART_DIR}/led131.bmp ${ART_DIR}/led132.bmp ${ART_DIR}/led133.bmp
              ${ART_DIR}/led134.bmp ${ART_DIR}/led135.bmp ${ART_DIR}/banner136.bmp ${ART_DIR}/app128.ico)
if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES g++ c++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  set(ARTGEN ${ART_DIR}/artgen)
  set(BUILD_ARTGEN ${HOST_CXX} -std=c++17 -O2 ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.cpp -o ${ARTGEN})
else()
  add_executable(artgen tools/artgen/artgen.cpp)
  set(ARTGEN $<TARGET_FILE:artgen>)
  set(BUILD_ARTGEN ${CMAKE_COMMAND} -E true)
endif()
add_custom_command(OUTPUT ${ART_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ART_DIR}
  COMMAND ${BUILD_ARTGEN}
  COMMAND ${ARTGEN} ${ART_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/artgen.cpp
  COMMENT "Drawing the LED lamps, banner and icon")
add_custom_target(artwork DEPENDS ${ART_FILES})

add_library(brisvale_core STATIC ${CORE_SOURCES})
target_include_directories(brisvale_core PUBLIC src res)

add_library(brisvale_win32 STATIC ${WIN32_SOURCES})
target_include_directories(brisvale_win32 PUBLIC src res)
target_link_libraries(brisvale_win32 PUBLIC brisvale_core comctl32 iphlpapi ws2_32 psapi gdi32 user32 advapi32 shell32 uuid)

set_source_files_properties(res/brisvale.rc PROPERTIES OBJECT_DEPENDS "${ART_FILES};${CMAKE_SOURCE_DIR}/res/brisvale.manifest")
if(MSVC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} /I${ART_DIR} /I${CMAKE_SOURCE_DIR}/res")
else()
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${ART_DIR} -I${CMAKE_SOURCE_DIR}/res")
endif()
add_executable(brisvale WIN32 src/app/MainWin32.cpp res/brisvale.rc)
add_dependencies(brisvale artwork)
brisvale_unicode_entry(brisvale)
target_link_libraries(brisvale brisvale_win32)

file(GLOB SIM_SOURCES CONFIGURE_DEPENDS sim/*.cpp)
if(SIM_SOURCES)
  add_executable(dravik ${SIM_SOURCES})
  target_include_directories(dravik PRIVATE src)
  brisvale_unicode_entry(dravik)
  target_link_libraries(dravik ws2_32)
endif()

# Windows test programs, built where GoogleTest's sources are found.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows tests")
if(EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/*.cpp)
  add_executable(win_tests ${WIN_TESTS} res/brisvale.rc)
  add_dependencies(win_tests artwork)
  target_link_libraries(win_tests brisvale_win32 GTest::gtest_main GTest::gmock)
  # Run as shards that CTest can run at once, each in a Wine session of its own.
  set(WIN_TEST_SHARDS 6)
  math(EXPR last_shard "${WIN_TEST_SHARDS} - 1")
  foreach(shard RANGE ${last_shard})
    add_test(NAME win_tests_${shard} COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-own-session.sh $<TARGET_FILE:win_tests>)
    set_tests_properties(win_tests_${shard} PROPERTIES TIMEOUT 900 ENVIRONMENT
      "BRISVALE_BIN=${CMAKE_BINARY_DIR};GTEST_TOTAL_SHARDS=${WIN_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
else()
  message(STATUS "No GoogleTest sources at ${GOOGLETEST_SOURCE_DIR}: the Windows tests are not built")
endif()

# End-to-end: brisvale.exe itself under Wine and Xvfb, driven by probe.exe and xdotool.
file(GLOB PROBE_SOURCES CONFIGURE_DEPENDS tests/e2e/probe/*.cpp)
if(PROBE_SOURCES)
  add_executable(probe ${PROBE_SOURCES})
  brisvale_unicode_entry(probe)
  target_link_libraries(probe comctl32 psapi iphlpapi ws2_32)
endif()
file(GLOB E2E_TESTS CONFIGURE_DEPENDS tests/e2e/test_*.sh)
foreach(script ${E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script})
  set_tests_properties(e2e_${name} PROPERTIES
    ENVIRONMENT "BRISVALE_BIN=${CMAKE_BINARY_DIR};BRISVALE_SRC=${CMAKE_SOURCE_DIR}" TIMEOUT 600)
endforeach()

# Benchmarks and leak figures (scripts/bench.sh, tests/soak): the measuring tool (with the
# program's libraries, whose command-line builder the bring-up floor uses) and the baseline dialogs that
# the start-up time is set against: a minimal one, and one with the program's fonts and
# filled list views (also on the program's own dialog template).
add_executable(benchtool tools/bench/benchtool.cpp tools/bench/BenchSupport.cpp tools/bench/BackendFloor.cpp
               tools/bench/ResponseProbe.cpp)
brisvale_unicode_entry(benchtool)
target_link_libraries(benchtool brisvale_win32)
add_executable(minimal_dialog WIN32 tools/bench/minimal_dialog.cpp tools/bench/minimal_dialog.rc)
brisvale_unicode_entry(minimal_dialog)
add_executable(populated_dialog WIN32 tools/bench/populated_dialog.cpp tools/bench/populated_dialog.rc)
brisvale_unicode_entry(populated_dialog)
target_link_libraries(populated_dialog comctl32 gdi32)
add_executable(populated_full_dialog WIN32 tools/bench/populated_dialog.cpp res/brisvale.rc)
add_dependencies(populated_full_dialog artwork)
target_compile_definitions(populated_full_dialog PRIVATE TEMPLATE_ID=102)
target_include_directories(populated_full_dialog PRIVATE res)
brisvale_unicode_entry(populated_full_dialog)
target_link_libraries(populated_full_dialog comctl32 gdi32)

# Benchmarks: programs that print timings, not tests.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tests/bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} tests/win/MessageBoxWatcher.cpp res/brisvale.rc)
  add_dependencies(${name} artwork)
  brisvale_unicode_entry(${name})
  target_link_libraries(${name} brisvale_win32)
endforeach()
