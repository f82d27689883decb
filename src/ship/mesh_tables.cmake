# Turns the mesh asset into constant tables compiled into the program:
#   cmake -DINPUT=assets/ship_mesh.txt -DOUTPUT=ship_mesh_data.cpp -P mesh_tables.cmake
# A script rather than a helper program, so that cross builds need no host
# compiler. It checks the record order and the counts; any other invariant is
# the tests' business.
cmake_minimum_required(VERSION 3.25)  # a script gets no policies from the project

set(expected_vertices 359)
set(expected_hull 483)
set(expected_under 18)
set(expected_podA 73)
set(expected_podB 73)
set(expected_rear 2)
set(expected_lines 12)
set(expected_points 3)

function(fail message)
  message(FATAL_ERROR "${INPUT}:${line_number}: ${message}")
endfunction()

# A decimal number of the asset as a C++ float literal.
function(float_literal out value)
  if(NOT value MATCHES "^-?[0-9]+(\\.[0-9]+)?$")
    fail("not a number: '${value}'")
  endif()
  if(NOT value MATCHES "\\.")
    string(APPEND value ".0")
  endif()
  set(${out} "${value}f" PARENT_SCOPE)
endfunction()

function(check_integers)
  foreach(value IN LISTS ARGN)
    if(NOT value MATCHES "^-?[0-9]+$")
      fail("not an integer: '${value}'")
    endif()
  endforeach()
endfunction()

foreach(table vertices hull under podA podB rear lines points)
  set(count_${table} 0)
  set(text_${table} "")
endforeach()

file(STRINGS "${INPUT}" lines)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  string(REPLACE " " ";" fields "${line}")
  list(LENGTH fields field_count)
  list(POP_FRONT fields kind)

  if(kind STREQUAL "v")
    set(table vertices)
    if(NOT field_count EQUAL 5)
      fail("a vertex has an index and three coordinates")
    endif()
    list(POP_FRONT fields index)
    set(values "")
    foreach(value IN LISTS fields)
      float_literal(literal "${value}")
      list(APPEND values "${literal}")
    endforeach()
    list(JOIN values ", " joined)
    set(row "{${joined}}")
  elseif(kind STREQUAL "f")
    if(NOT field_count EQUAL 16)
      fail("a face has a table, a record number and thirteen fields")
    endif()
    list(POP_FRONT fields table index)
    if(NOT DEFINED count_${table} OR table STREQUAL "vertices" OR table STREQUAL "lines"
       OR table STREQUAL "points")
      fail("unknown face table '${table}'")
    endif()
    list(SUBLIST fields 0 7 integers)
    list(SUBLIST fields 7 6 coordinates)
    check_integers(${integers})
    set(values ${integers})
    foreach(value IN LISTS coordinates)
      float_literal(literal "${value}")
      list(APPEND values "${literal}")
    endforeach()
    list(JOIN values ", " joined)
    set(row "{${joined}, {0.0f, 0.0f, 0.0f}}")
  elseif(kind STREQUAL "l")
    set(table lines)
    if(NOT field_count EQUAL 6)
      fail("a line has a record number and four fields")
    endif()
    list(POP_FRONT fields index)
    check_integers(${fields})
    list(JOIN fields ", " joined)
    set(row "{${joined}}")
  elseif(kind STREQUAL "p")
    set(table points)
    if(NOT field_count EQUAL 3)
      fail("a light point has a record number and a vertex")
    endif()
    list(POP_FRONT fields index row)
    check_integers(${row})
  else()
    fail("unknown record kind '${kind}'")
  endif()

  if(NOT index STREQUAL count_${table})
    fail("${table} record ${index} out of order (expected ${count_${table}})")
  endif()
  math(EXPR count_${table} "${count_${table}} + 1")
  string(APPEND text_${table} "        ${row},\n")
endforeach()

set(line_number "end")
foreach(table vertices hull under podA podB rear lines points)
  if(NOT count_${table} EQUAL expected_${table})
    fail("${count_${table}} ${table} records, expected ${expected_${table}}")
  endif()
endforeach()

file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} by mesh_tables.cmake; do not edit.
#include \"ship/mesh.h\"

constexpr ShipMesh storedShipMesh = {
    {
${text_vertices}    },
    {
${text_hull}    },
    {
${text_under}    },
    {
${text_podA}    },
    {
${text_podB}    },
    {
${text_rear}    },
    {},
    {},
    {
${text_lines}    },
    {
${text_points}    },
};

ShipMesh shipMesh = storedShipMesh;
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
