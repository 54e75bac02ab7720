# Reads resources/Facts.txt, where what several tools need is written once, and makes from it what
# the compilers read: KELVANE_VERSION for project(), and with kelvane_write_facts the header
# resources/Facts.h for the program's C++ and resources/Icons.rc for its resource script.
get_filename_component(KELVANE_RESOURCES_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources ABSOLUTE)
set(KELVANE_FACTS_FILE ${KELVANE_RESOURCES_DIR}/Facts.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KELVANE_FACTS_FILE})

set(KELVANE_FACTS_COLOURS "")
set(KELVANE_FACTS_ICONS "")
set(KELVANE_FACTS_ICONS_RC "")
unset(KELVANE_VERSION)
file(STRINGS ${KELVANE_FACTS_FILE} kelvane_fact_lines ENCODING UTF-8)
foreach(line IN LISTS kelvane_fact_lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE " +" ";" fields "${line}")
  list(POP_FRONT fields kind)
  list(LENGTH fields count)
  if(kind STREQUAL "version" AND count EQUAL 1 AND fields MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
    set(KELVANE_VERSION ${fields})
  elseif(kind STREQUAL "colour" AND count EQUAL 4)
    list(GET fields 0 name)
    list(SUBLIST fields 1 3 rgb)
    list(JOIN rgb ", " rgb)
    string(APPEND KELVANE_FACTS_COLOURS "inline constexpr COLORREF k${name} = RGB(${rgb});\n")
  elseif((kind STREQUAL "tile-icon" OR kind STREQUAL "tool-icon") AND count EQUAL 1 AND fields MATCHES "^[A-Za-z0-9]+$")
    string(APPEND KELVANE_FACTS_ICONS "inline constexpr char k${fields}[] = \"${fields}\";\n")
    string(APPEND KELVANE_FACTS_ICONS_RC "${fields} ICON \"${KELVANE_RESOURCES_DIR}/${fields}.ico\"\n")
  else()
    message(FATAL_ERROR "resources/Facts.txt: cannot read the line \"${line}\"")
  endif()
endforeach()
if(NOT DEFINED KELVANE_VERSION)
  message(FATAL_ERROR "resources/Facts.txt: the version is missing")
endif()

function(kelvane_write_facts folder)
  file(CONFIGURE OUTPUT ${folder}/Facts.h @ONLY CONTENT "\
// Made by CMake from resources/Facts.txt, where each of these is written once.
#pragma once

#include <windows.h>

namespace facts {

// The main window's design colours.
${KELVANE_FACTS_COLOURS}
} // namespace facts

// The program's icons, by their names among its resources.
namespace icons {
${KELVANE_FACTS_ICONS}} // namespace icons
")
  file(CONFIGURE OUTPUT ${folder}/Icons.rc @ONLY CONTENT "\
// Made by CMake from resources/Facts.txt: every icon by its name.
${KELVANE_FACTS_ICONS_RC}")
endfunction()
