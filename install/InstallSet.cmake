# The installation set: one folder (build/installset) holding Tarno, the data files that ship
# beside it, the release notes, the installer and a setup.inf that lists what to install.
#
# setup.inf: the first line is the number of file lines; each file line is the file's path
# relative to the set (subfolders separated by "/", which the installer recreates), optionally
# followed by one space and the name of its desktop entry; a ".readme <file>" line names the
# release notes shown after installing; a ".filetypes <file> <program>" line names the
# description of the map file types (shared-mime-info) that the installer registers for the
# user, with the program that opens them.
#
# The set is made once every directory has been configured, so files appended to
# BRICKHAVEN_SHIPPED_FILES anywhere in the project are included.

set(BRICKHAVEN_INSTALL_SET_DIR ${CMAKE_BINARY_DIR}/installset CACHE INTERNAL
  "Folder of the installation set")

# Targets of a directory and its subdirectories: the shipped files are made by them.
function(_brickhaven_directory_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _brickhaven_directory_targets(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# A setup.inf line is at most 127 characters, and the file name ends at the first space.
function(_brickhaven_check_set_file name line)
  if(name MATCHES " " OR name MATCHES "^/" OR name MATCHES "(^|/)\\.\\.(/|$)" OR name STREQUAL "")
    message(FATAL_ERROR "Shipped file '${name}' can't be listed in setup.inf: "
      "it must be a relative path without spaces or '..'.")
  endif()
  string(LENGTH "${line}" length)
  if(length GREATER 127)
    message(FATAL_ERROR "setup.inf line for '${name}' is longer than 127 characters.")
  endif()
endfunction()

function(brickhaven_add_install_set installer_source_dir)
  set(set_dir ${BRICKHAVEN_INSTALL_SET_DIR})
  set(bin_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set(staging ${CMAKE_BINARY_DIR}/installset-files)
  get_property(shipped GLOBAL PROPERTY BRICKHAVEN_SHIPPED_FILES)
  list(REMOVE_DUPLICATES shipped)

  set(notes ReleaseNotes.txt)
  # Each entry: source path | path in the set.
  set(copies "$<TARGET_FILE:Tarno>|Tarno")
  set(records "Tarno Tarno")
  set(depends Tarno ${installer_source_dir}/${notes})
  foreach(name IN LISTS shipped)
    _brickhaven_check_set_file("${name}" "${name}")
    list(APPEND copies "${bin_dir}/${name}|${name}")
    list(APPEND records "${name}")
    list(APPEND depends ${bin_dir}/${name})
  endforeach()
  list(APPEND copies "${installer_source_dir}/${notes}|${notes}")
  list(APPEND records "${notes}")
  set(file_types brickhaven-mime.xml)
  set(file_types_source ${CMAKE_SOURCE_DIR}/packaging/${file_types})
  list(APPEND copies "${file_types_source}|${file_types}")
  list(APPEND records "${file_types}")
  list(APPEND depends ${file_types_source})

  list(LENGTH records count)
  set(text "${count}\n")
  foreach(line IN LISTS records)
    string(REGEX REPLACE " .*" "" name "${line}")
    _brickhaven_check_set_file("${name}" "${line}")
    string(APPEND text "${line}\n")
  endforeach()
  string(APPEND text ".readme ${notes}\n.filetypes ${file_types} Tarno\n")
  # Rewritten only when the text changes, so the set isn't remade needlessly.
  file(CONFIGURE OUTPUT ${staging}/setup.inf CONTENT "${text}" @ONLY)

  list(APPEND copies "${staging}/setup.inf|setup.inf" "$<TARGET_FILE:installer>|install")
  list(APPEND depends installer ${staging}/setup.inf)
  file(GENERATE OUTPUT ${staging}/manifest.cmake
    CONTENT "set(INSTALL_SET_COPIES [==[${copies}]==])\n")

  set(outputs "")
  foreach(entry IN LISTS copies)
    string(REGEX REPLACE "^.*\\|" "" name "${entry}")
    list(APPEND outputs ${set_dir}/${name})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -DSET_DIR=${set_dir} -DMANIFEST=${staging}/manifest.cmake
      -P ${installer_source_dir}/MakeInstallSet.cmake
    DEPENDS ${depends} ${staging}/manifest.cmake ${installer_source_dir}/MakeInstallSet.cmake
    COMMENT "Making the installation set in ${set_dir}"
    VERBATIM)
  add_custom_target(install_set ALL DEPENDS ${outputs})
  _brickhaven_directory_targets(${CMAKE_SOURCE_DIR}/content content_targets)
  if(content_targets)
    add_dependencies(install_set ${content_targets})
  endif()
endfunction()

cmake_language(EVAL CODE
  "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL brickhaven_add_install_set [[${CMAKE_CURRENT_SOURCE_DIR}]])")
