# Coverage-guided fuzzing build (MEXTOOLBOX_LIBFUZZER): the host, every
# plug-in and the fuzz target are compiled by clang with libFuzzer's coverage
# instrumentation, AddressSanitizer (with LeakSanitizer) and
# UndefinedBehaviorSanitizer. The plug-ins keep their own coverage counters;
# the fuzz target loads them before fuzzing starts so libFuzzer sees them.
# Configure in a tree of its own: scripts/fuzz.sh does all of it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "MEXTOOLBOX_LIBFUZZER needs clang (configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)")
endif()
if(CMAKE_VERSION VERSION_LESS 3.19)
  message(FATAL_ERROR "MEXTOOLBOX_LIBFUZZER needs CMake 3.19 or later")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)

# The instrumented tree holds only what fuzzing needs.
set(MEXTOOLBOX_TESTS OFF)
set(MEXTOOLBOX_BENCH OFF)

# The fuzz target is defined once every plug-in is known: at the end of the
# top-level directory.
function(mextoolbox_add_libfuzzer_target)
  # "subsystem:plugin" for every plug-in of the five subsystem directories.
  get_property(_plugins GLOBAL PROPERTY MEX_PLUGINS)
  set(_table "")
  foreach(_p IN LISTS _plugins)
    get_target_property(_dir ${_p} SOURCE_DIR)
    file(RELATIVE_PATH _rel ${CMAKE_SOURCE_DIR} ${_dir})
    string(REGEX REPLACE "/.*" "" _sub "${_rel}")
    if(_sub MATCHES "^(special|distributions|approx|linalg|optim)$")
      string(APPEND _table " ${_sub}:${_p}")
    endif()
  endforeach()
  string(STRIP "${_table}" _table)

  set(_src ${CMAKE_SOURCE_DIR}/tests/fuzz)
  add_executable(libfuzzer_target ${_src}/libfuzzer_target.cpp ${_src}/seed_calls.cpp)
  target_link_libraries(libfuzzer_target PRIVATE mexhost mexrun_core)
  target_link_options(libfuzzer_target PRIVATE -fsanitize=fuzzer)
  target_compile_definitions(libfuzzer_target PRIVATE
    FUZZ_PLUGIN_TABLE="${_table}"
    MEX_PLUGIN_DIR="${MEX_PLUGIN_DIR}"
    SEED_CALLS_FILE="${CMAKE_SOURCE_DIR}/tests/octave/calls.txt")
  if(_plugins)
    add_dependencies(libfuzzer_target ${_plugins})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL mextoolbox_add_libfuzzer_target)
