# Remakes the installation set folder from a manifest of "source|path in the set" entries.
# Run as: cmake -DSET_DIR=<folder> -DMANIFEST=<manifest.cmake> -P MakeInstallSet.cmake
include(${MANIFEST})
# Start from an empty folder so files dropped from the list don't linger.
file(REMOVE_RECURSE ${SET_DIR})
file(MAKE_DIRECTORY ${SET_DIR})
foreach(entry IN LISTS INSTALL_SET_COPIES)
  string(REGEX REPLACE "\\|.*$" "" source "${entry}")
  string(REGEX REPLACE "^.*\\|" "" name "${entry}")
  if(NOT EXISTS "${source}")
    message(FATAL_ERROR "Installation set: '${source}' is missing.")
  endif()
  get_filename_component(folder "${SET_DIR}/${name}" DIRECTORY)
  get_filename_component(source_name "${source}" NAME)
  get_filename_component(target_name "${name}" NAME)
  # file(COPY) keeps permissions (programs stay executable) and the source's file name.
  file(COPY "${source}" DESTINATION "${folder}")
  if(NOT source_name STREQUAL target_name)
    file(RENAME "${folder}/${source_name}" "${folder}/${target_name}")
  endif()
endforeach()
