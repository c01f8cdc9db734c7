# add_mex_plugin(<name> SOURCES <files...> [LIBRARIES <static libs...>])
#
# Builds <name>.mexa64 into the plug-in directory: a shared library that
# exports only mexFunction and links only against the host library (and,
# statically, any shared kernel code compiled into it).
set(MEX_EXPORTS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/mex_exports.map)

function(add_mex_plugin name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE mexhost ${ARG_LIBRARIES})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".mexa64"
    LIBRARY_OUTPUT_DIRECTORY ${MEX_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(MEXTOOLBOX_OCTAVE)
    # Octave's mex.h declares mexFunction without a visibility attribute;
    # the version script alone keeps every other symbol local.
    set_target_properties(${name} PROPERTIES SUFFIX ".mex" CXX_VISIBILITY_PRESET default C_VISIBILITY_PRESET default)
    # The help text (<name>.m beside the gateway) goes next to the plug-in,
    # where Octave's help finds it.
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.m)
      configure_file(${CMAKE_CURRENT_SOURCE_DIR}/${name}.m ${MEX_PLUGIN_DIR}/${name}.m COPYONLY)
    endif()
  endif()
  target_link_options(${name} PRIVATE -Wl,--version-script=${MEX_EXPORTS_SCRIPT})
  set_property(GLOBAL APPEND PROPERTY MEX_PLUGINS ${name})
endfunction()

# The Octave toolbox directory also holds its contents page and the
# driver of boxpart, both plain Octave files.
if(MEXTOOLBOX_OCTAVE)
  configure_file(${CMAKE_SOURCE_DIR}/docs/octave/Contents.m ${MEX_PLUGIN_DIR}/Contents.m COPYONLY)
  configure_file(${CMAKE_SOURCE_DIR}/optim/direct.m ${MEX_PLUGIN_DIR}/direct.m COPYONLY)
endif()

# add_kernel_library(<name> <files...>): code shared as source by several
# plug-ins (and their tests), compiled into each one statically.
function(add_kernel_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
