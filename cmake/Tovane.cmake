# Helpers that keep each subsystem's CMakeLists.txt to one line or two.

# tovane_library(<subsystem> [DEPS <targets>...])
# Builds src/<subsystem>/*.cpp (with its .h, .ui and .qrc files) into the static library
# tovane_<subsystem>. Include paths are relative to src/, as in #include "core/Cp932.h".
function(tovane_library sub)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(tovane_${sub} STATIC ${sources})
  target_include_directories(tovane_${sub} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tovane_${sub} PUBLIC ${ARG_DEPS} PRIVATE tovane_warnings)
endfunction()

# tovane_test(<name> [LIBS <targets>...] [ENV <VAR=value>...])
# Builds every tests/<folder>/*.cpp into one GoogleTest program and registers each test
# with ctest, headless (offscreen Qt platform).
function(tovane_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tovane_test_support ${ARG_LIBS} tovane_warnings)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()
