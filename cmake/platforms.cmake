# The table of platforms (platforms.txt), for CMake, read once.
#   DATUM_PLATFORMS                      the names, in the table's order
#   DATUM_PLATFORM_COLUMNS               the names of the columns, from its header line
#   datum_platform(NAME COLUMN VAR)      one cell of a row ("" for "-"), as a
#                                        CMake list of its words; a script of
#                                        the tree as the emulator by its
#                                        absolute path
#   datum_platform_of_system(VAR)        the row of CMAKE_SYSTEM_NAME/PROCESSOR, or ""
# The columns are described in platforms.txt.
include_guard(GLOBAL)
set(DATUM_PLATFORMS_FILE ${CMAKE_CURRENT_LIST_DIR}/../platforms.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${DATUM_PLATFORMS_FILE})

set(DATUM_PLATFORMS "")
set(DATUM_PLATFORM_COLUMNS "")
file(STRINGS ${DATUM_PLATFORMS_FILE} _datum_lines REGEX "^[^#]")
foreach(_datum_line IN LISTS _datum_lines)
  string(REPLACE "|" ";" _datum_cells "${_datum_line}")
  list(TRANSFORM _datum_cells STRIP)
  if(NOT DATUM_PLATFORM_COLUMNS)
    set(DATUM_PLATFORM_COLUMNS ${_datum_cells})
    continue()
  endif()
  list(LENGTH _datum_cells _datum_count)
  list(LENGTH DATUM_PLATFORM_COLUMNS _datum_columns)
  if(NOT _datum_count EQUAL _datum_columns)
    message(FATAL_ERROR "platforms.txt: ${_datum_count} columns, not ${_datum_columns}, in: ${_datum_line}")
  endif()
  list(GET _datum_cells 0 _datum_name)
  list(APPEND DATUM_PLATFORMS ${_datum_name})
  foreach(_datum_column _datum_cell IN ZIP_LISTS DATUM_PLATFORM_COLUMNS _datum_cells)
    if(_datum_cell STREQUAL "-")
      set(_datum_cell "")
    endif()
    separate_arguments(_datum_cell UNIX_COMMAND "${_datum_cell}")
    # A command of the tree (the emulator) by its absolute path.
    if(_datum_cell)
      list(GET _datum_cell 0 _datum_command)
      if(_datum_command MATCHES "/" AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/../${_datum_command})
        get_filename_component(_datum_command ${CMAKE_CURRENT_LIST_DIR}/../${_datum_command} ABSOLUTE)
        list(REMOVE_AT _datum_cell 0)
        list(PREPEND _datum_cell ${_datum_command})
      endif()
    endif()
    set(DATUM_PLATFORM_${_datum_name}_${_datum_column} "${_datum_cell}")
  endforeach()
endforeach()

function(datum_platform name column var)
  if(NOT name IN_LIST DATUM_PLATFORMS)
    message(FATAL_ERROR "platforms.txt has no platform ${name}; it has ${DATUM_PLATFORMS}")
  endif()
  if(NOT column IN_LIST DATUM_PLATFORM_COLUMNS)
    message(FATAL_ERROR "platforms.txt has no column ${column}; it has ${DATUM_PLATFORM_COLUMNS}")
  endif()
  set(${var} "${DATUM_PLATFORM_${name}_${column}}" PARENT_SCOPE)
endfunction()

function(datum_platform_of_system var)
  set(${var} "" PARENT_SCOPE)
  foreach(name IN LISTS DATUM_PLATFORMS)
    if(DATUM_PLATFORM_${name}_system STREQUAL "${CMAKE_SYSTEM_NAME}/${CMAKE_SYSTEM_PROCESSOR}")
      set(${var} ${name} PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()
