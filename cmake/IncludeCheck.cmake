# The include check: every `#include "folder/..."` in a folder's files must
# name a folder that the folder's targets link, directly or through other
# targets, or the folder itself. The allowed folders come from the build's
# own link graph, so the check follows the CMake files without a list to keep.
#
# Writes, at configure time,
#   include-folders.txt  one line per folder: the folder, then its allowed folders
#   include-files.txt    the C and C++ sources this build compiles, one a line
# and adds the test that reads them (cmake/check-includes.sh).

# The project's top-level folder that holds path, or "" outside the project.
function(vantrel_folder_of path out)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${path})
  if(rel MATCHES "^\\.\\./" OR IS_ABSOLUTE "${rel}" OR rel STREQUAL "")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "/.*" "" folder "${rel}")
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

function(vantrel_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    vantrel_targets_below(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The targets that target links, as written in its link properties.
function(vantrel_direct_links target out)
  set(links "")
  foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
    get_target_property(items ${target} ${property})
    if(NOT items)
      continue()
    endif()
    foreach(item IN LISTS items)
      # A static library's private links appear as $<LINK_ONLY:name>.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
      if(NOT TARGET "${item}")
        continue()
      endif()
      get_target_property(aliased ${item} ALIASED_TARGET)
      if(aliased)
        set(item ${aliased})
      endif()
      list(APPEND links ${item})
    endforeach()
  endforeach()
  set(${out} ${links} PARENT_SCOPE)
endfunction()

# Absolute paths of target's own C and C++ sources.
function(vantrel_target_sources target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(dir ${target} SOURCE_DIR)
  set(files "")
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(c|cpp|h)$")
      continue()
    endif()
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${dir})
    list(APPEND files ${path})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(vantrel_add_include_check)
  vantrel_targets_below(${PROJECT_SOURCE_DIR} all_targets)
  set(folders "")
  set(all_files "")
  foreach(target IN LISTS all_targets)
    get_target_property(dir ${target} SOURCE_DIR)
    vantrel_folder_of(${dir} home)
    if(home STREQUAL "")
      continue()
    endif()
    list(APPEND folders ${home})
    vantrel_target_sources(${target} files)
    list(APPEND all_files ${files})

    # The folder itself, the folders of the target's own sources, and the
    # folders of every target reached through its links.
    set(allowed ${home})
    foreach(file IN LISTS files)
      vantrel_folder_of(${file} folder)
      list(APPEND allowed ${folder})
    endforeach()
    set(seen ${target})
    set(queue ${target})
    while(queue)
      list(POP_FRONT queue current)
      vantrel_direct_links(${current} links)
      foreach(link IN LISTS links)
        if(NOT link IN_LIST seen)
          list(APPEND seen ${link})
          list(APPEND queue ${link})
          get_target_property(link_dir ${link} SOURCE_DIR)
          vantrel_folder_of(${link_dir} folder)
          list(APPEND allowed ${folder})
        endif()
      endforeach()
    endwhile()
    list(APPEND allowed_${home} ${allowed})
  endforeach()

  # Tests are left out: they include what their programs compile and link.
  list(REMOVE_DUPLICATES folders)
  list(REMOVE_ITEM folders tests)
  set(folder_lines "")
  foreach(folder IN LISTS folders)
    list(REMOVE_DUPLICATES allowed_${folder})
    list(REMOVE_ITEM allowed_${folder} "")
    list(JOIN allowed_${folder} " " joined)
    string(APPEND folder_lines "${folder} ${joined}\n")
  endforeach()
  list(REMOVE_DUPLICATES all_files)
  list(JOIN all_files "\n" file_lines)
  file(WRITE ${CMAKE_BINARY_DIR}/include-folders.txt "${folder_lines}")
  file(WRITE ${CMAKE_BINARY_DIR}/include-files.txt "${file_lines}\n")

  add_test(NAME structure_include_check
           COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/check-includes.sh ${PROJECT_SOURCE_DIR}
                   ${CMAKE_BINARY_DIR}/include-folders.txt ${CMAKE_BINARY_DIR}/include-files.txt)
  set_tests_properties(structure_include_check PROPERTIES LABELS structure)
endfunction()
