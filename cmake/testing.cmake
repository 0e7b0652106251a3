include(GoogleTest)

# Under Wine every test executable runs through tools/wine-gtest.sh (tools/wine-run.sh, and
# a check that GoogleTest ran to its end) inside one Wine session (private prefix, own Xvfb
# display) that a setup test starts and a cleanup test ends.
function(kl_wine_fixture)
  add_test(NAME wine_session_start
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  add_test(NAME wine_session_stop
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 120)
endfunction()

# A Wine session whose screen has another DPI: a prefix of its own (wineprefix-dpiN, which
# keeps its DPI), its own display and server, started and ended by the fixture wine_dpiN.
# Registered once per DPI, by the first test that asks for it.
function(kl_wine_dpi_fixture dpi)
  get_property(registered GLOBAL PROPERTY KL_WINE_DPI_${dpi})
  if(registered)
    return()
  endif()
  set_property(GLOBAL PROPERTY KL_WINE_DPI_${dpi} TRUE)
  add_test(NAME wine_session_start_dpi${dpi}
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR} wineprefix-dpi${dpi} ${dpi})
  set_tests_properties(wine_session_start_dpi${dpi} PROPERTIES FIXTURES_SETUP wine_dpi${dpi} TIMEOUT 300)
  add_test(NAME wine_session_stop_dpi${dpi}
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR} wineprefix-dpi${dpi})
  set_tests_properties(wine_session_stop_dpi${dpi} PROPERTIES FIXTURES_CLEANUP wine_dpi${dpi} TIMEOUT 120)
endfunction()

# kl_add_wine_test(NAME exe [ARGS ...] [TIMEOUT s] [DPI n]): registers a Windows GoogleTest
# executable; with DPI it runs in the session of that DPI instead of the tests' own.
function(kl_add_wine_test name exe)
  cmake_parse_arguments(W "" "TIMEOUT;DPI" "ARGS" ${ARGN})
  if(NOT W_TIMEOUT)
    set(W_TIMEOUT 600)
  endif()
  set(gtest ${CMAKE_SOURCE_DIR}/tools/wine-gtest.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:${exe}> ${W_ARGS})
  if(W_DPI)
    kl_wine_dpi_fixture(${W_DPI})
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E env KL_WINE_PREFIX=wineprefix-dpi${W_DPI} ${gtest})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_dpi${W_DPI} TIMEOUT ${W_TIMEOUT}
                         RESOURCE_LOCK wine_desktop_dpi${W_DPI})
    return()
  endif()
  add_test(NAME ${name} COMMAND ${gtest})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${W_TIMEOUT} RESOURCE_LOCK wine_desktop)
endfunction()

# kl_add_host_test(NAME COMMAND ...): a check of a Windows build's files that runs on this
# machine, without Wine, so it runs even where the build's Wine tests cannot.
function(kl_add_host_test name)
  cmake_parse_arguments(H "" "" "COMMAND" ${ARGN})
  add_test(NAME ${name} COMMAND ${H_COMMAND})
  set_tests_properties(${name} PROPERTIES LABELS host TIMEOUT 120)
endfunction()

function(kl_test_folders kind)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/${kind}/*)
  foreach(d ${entries})
    if(NOT IS_DIRECTORY ${d})
      continue()
    endif()
    get_filename_component(folder ${d} NAME)
    if(EXISTS ${d}/CMakeLists.txt)
      add_subdirectory(${d})
      continue()
    endif()
    file(GLOB srcs CONFIGURE_DEPENDS ${d}/*.cpp)
    if(NOT srcs)
      continue()
    endif()
    set(exe kl_test_${folder})
    if(kind STREQUAL "win")
      set(exe kl_wintest_${folder})
    endif()
    add_executable(${exe} ${srcs})
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/${kind} ${CMAKE_CURRENT_SOURCE_DIR})
    if(kind STREQUAL "win")
      target_link_libraries(${exe} PRIVATE kl_win kl_logic kl_win gmock gtest_main)
      set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
      kl_add_wine_test(${exe} ${exe})
    else()
      target_link_libraries(${exe} PRIVATE kl_logic gmock gtest_main)
      gtest_discover_tests(${exe} DISCOVERY_TIMEOUT 60)
    endif()
  endforeach()
endfunction()

# kl_pure_tests_under_wine(folder...): builds native/<folder> as a Windows test executable
# kl_wintest_pure_<folder> and runs it under Wine.
function(kl_pure_tests_under_wine)
  foreach(folder ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/native/${folder}/*.cpp)
    set(exe kl_wintest_pure_${folder})
    add_executable(${exe} ${srcs})
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/native ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${exe} PRIVATE kl_logic gmock gtest_main)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    kl_add_wine_test(${exe} ${exe} TIMEOUT 120)
  endforeach()
endfunction()
