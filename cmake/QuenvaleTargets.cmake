# A library made of every source below a folder, so that adding a file needs no
# build edit. Folders and files listed in EXCLUDE (relative to the folder) are left
# out: other libraries, or a program's own main(). ONLY keeps just the files of
# the folder with those names (without extension); EXCLUDE_FILES leaves those
# files out, for a folder split into two libraries. PCH names the precompiled
# headers' kind (see QuenvalePrecompiled.cmake), WIDGETS unless given.
function(quenvale_library name dir)
  cmake_parse_arguments(ARG "" "PCH" "LINK;EXCLUDE;ONLY;EXCLUDE_FILES" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${dir}/${ex}(/|$)")
  endforeach()
  if(ARG_ONLY)
    list(JOIN ARG_ONLY "|" only)
    list(FILTER srcs INCLUDE REGEX "^${dir}/(${only})\\.(cpp|h)$")
  endif()
  if(ARG_EXCLUDE_FILES)
    list(JOIN ARG_EXCLUDE_FILES "|" excluded)
    list(FILTER srcs EXCLUDE REGEX "^${dir}/(${excluded})\\.(cpp|h)$")
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  if(NOT ARG_PCH)
    set(ARG_PCH WIDGETS)
  endif()
  quenvale_precompile(${name} ${ARG_PCH})
endfunction()
