# The layers of src/, lowest first: core, objects, runtime, app. Each is a
# static library that may use only the layers below it, and the build holds
# it to that: a layer's one include root is a directory of the build tree
# with a single link, <layer> -> src/<layer>. A target sees the roots of the
# layers it links, so "core/PcxImage.h" resolves everywhere above core, while
# a header of a higher layer is not found at all.

get_filename_component(LEDGE_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/../src ABSOLUTE)

# Sets <out> to the include root of <layer>, making it on first use.
function(ledge_layer_root layer out)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  if(NOT EXISTS ${root}/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${LEDGE_SOURCE_ROOT}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# ledge_layer(<layer> [USES <lower layer targets>] [LIBRARIES <external>])
# builds target ledge_<layer> from src/<layer>/ (main.cpp aside).
function(ledge_layer layer)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "USES;LIBRARIES")
  ledge_layer_root(${layer} root)
  file(GLOB sources CONFIGURE_DEPENDS ${LEDGE_SOURCE_ROOT}/${layer}/*.cpp
    ${LEDGE_SOURCE_ROOT}/${layer}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(ledge_${layer} STATIC ${sources})
  target_include_directories(ledge_${layer} PUBLIC ${root})
  target_link_libraries(ledge_${layer} PUBLIC ${ARG_USES} ${ARG_LIBRARIES})
  ledge_warnings(ledge_${layer})
endfunction()
