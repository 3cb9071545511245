# Checks that the sources follow the subsystem layering the build declares.
#
#   cmake -DSOURCE_DIR=<src> -DORDER=base,imageio,... -DDEPS="drawing=base,text|..."
#         -DPRIVATE=drawing/draw_area_impl.h,... -P check-layering.cmake
#   cmake -DSELF_TEST=ON -DFIXTURES=<folder> -P check-layering.cmake
#
# ORDER lists the subsystems bottom first; DEPS the subsystems each one's
# target links. A subsystem may depend only on subsystems before it in ORDER,
# and a file under <src>/<sub>/ may include "<other>/..." (or <other/...>)
# only when <other> is <sub> itself or one that <sub> links directly: what a
# link brings in through its own links is not allowed, so that every use is
# declared where it is made. PRIVATE names headers ("<sub>/<file>") that only
# their own subsystem may include. Every folder of <src> must be a subsystem
# of ORDER, and a run that finds no include between subsystems to check fails
# (a wrong folder or a changed include spelling would otherwise pass). The
# self test runs the same check on small planted trees and fails unless each
# fault is reported.
cmake_minimum_required(VERSION 3.25)

# Sets <out> to the errors found (one list entry each) and <checked> to the
# number of includes between subsystems that were looked at.
function(layering_errors src order deps private out checked)
  set(errors "")
  set(count 0)
  if(NOT src STREQUAL "")
    get_filename_component(src "${src}" ABSOLUTE)  # globs below want a whole path
  endif()
  if(src STREQUAL "" OR NOT IS_DIRECTORY "${src}")
    set(${out} "'${src}' is not a folder of sources" PARENT_SCOPE)
    set(${checked} 0 PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "," ";" private "${private}")
  string(REPLACE "," ";" order "${order}")
  foreach(sub IN LISTS order)
    set(direct_${sub} "")
  endforeach()
  string(REPLACE "|" ";" entries "${deps}")
  foreach(entry IN LISTS entries)
    if(NOT entry MATCHES "^([a-z_]+)=([a-z_,]*)$")
      list(APPEND errors "malformed dependency entry '${entry}'")
      continue()
    endif()
    set(sub "${CMAKE_MATCH_1}")
    string(REPLACE "," ";" uses "${CMAKE_MATCH_2}")
    list(FIND order "${sub}" rank)
    if(rank LESS 0)
      list(APPEND errors "${sub} declares dependencies but is not in the layering")
      continue()
    endif()
    foreach(used IN LISTS uses)
      list(FIND order "${used}" usedRank)
      if(usedRank LESS 0)
        list(APPEND errors "${sub} depends on ${used}, which is not in the layering")
      elseif(NOT usedRank LESS rank)
        list(APPEND errors "${sub} depends on ${used}, which is not below it")
      else()
        list(APPEND direct_${sub} "${used}")
      endif()
    endforeach()
  endforeach()

  file(GLOB children RELATIVE "${src}" "${src}/*")
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${src}/${child}")
      list(FIND order "${child}" rank)
      if(rank LESS 0)
        list(APPEND errors "${child}/ is not a subsystem of the layering")
      endif()
    endif()
  endforeach()

  file(GLOB_RECURSE files RELATIVE "${src}" "${src}/*.h" "${src}/*.hpp" "${src}/*.cpp" "${src}/*.cc")
  list(SORT files)
  foreach(file IN LISTS files)
    if(NOT file MATCHES "^([a-z_]+)/")
      continue()
    endif()
    set(sub "${CMAKE_MATCH_1}")
    file(STRINGS "${src}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][A-Za-z0-9_]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "[<\"]([A-Za-z0-9_]+)/[^>\"]*" target "${line}")
      set(used "${CMAKE_MATCH_1}")
      string(SUBSTRING "${target}" 1 -1 path)
      list(FIND order "${used}" usedRank)
      if(usedRank LESS 0 OR used STREQUAL sub)
        continue()  # a system header, or the subsystem's own
      endif()
      math(EXPR count "${count} + 1")
      list(FIND direct_${sub} "${used}" allowed)
      list(FIND private "${path}" isPrivate)
      if(allowed LESS 0)
        string(REPLACE ";" " " may "${direct_${sub}}")
        list(APPEND errors "${file} includes ${path}: ${sub} may use only [${may}]")
      elseif(isPrivate GREATER_EQUAL 0)
        list(APPEND errors "${file} includes ${path}, which is private to ${used}")
      endif()
    endforeach()
  endforeach()
  if(count EQUAL 0)
    list(APPEND errors "no include between subsystems was found under ${src}")
  endif()
  set(${out} "${errors}" PARENT_SCOPE)
  set(${checked} "${count}" PARENT_SCOPE)
endfunction()

if(SELF_TEST)
  # case | fixture tree | dependencies | what the report must say ("" = no fault)
  set(order "base,imageio,text,drawing,chart,piechart")
  set(fine "base=|imageio=base|text=base|drawing=base,imageio,text|chart=base,drawing|piechart=base,chart")
  set(private "drawing/draw_area_impl.h")
  set(cases
    "clean tree|clean|${fine}|"
    "include from above|upward|${fine}|text/planted.h includes chart/legend_box.h"
    "include from a sibling|sideways|${fine}|imageio/planted.cpp includes text/text_canvas.h"
    "include from a piece no link reaches|clean|base=|imageio=base|text=base|drawing=base,text|chart=base,drawing|piechart=chart|drawing/draw.cpp includes imageio/codecs.h"
    "include through another subsystem's link|transitive|${fine}|chart/planted.h includes text/text_canvas.h: chart may use only [base drawing]"
    "include of a header private to its subsystem|private|${fine}|chart/planted.cpp includes drawing/draw_area_impl.h, which is private to drawing"
    "a tree with no include between subsystems|empty|${fine}|no include between subsystems was found"
    "a folder that does not exist|missing|${fine}|is not a folder of sources"
    "a link upwards|clean|base=|imageio=base,chart|text=base|drawing=base,imageio,text|chart=base,drawing|piechart=chart|imageio depends on chart, which is not below it"
    "a link to an unknown subsystem|clean|${fine}|chart=plotting|chart depends on plotting, which is not in the layering"
    "a folder outside the layering|stray|${fine}|script/ is not a subsystem of the layering")
  set(failed 0)
  foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 name)
    list(GET fields 1 tree)
    list(GET fields -1 expected)
    list(SUBLIST fields 2 -1 depFields)
    list(POP_BACK depFields)
    string(REPLACE ";" "|" caseDeps "${depFields}")
    layering_errors("${FIXTURES}/${tree}/src" "${order}" "${caseDeps}" "${private}" errors checked)
    string(REPLACE ";" "\n  " report "${errors}")
    if(expected STREQUAL "")
      if(errors OR checked EQUAL 0)
        message(SEND_ERROR "${name}: expected no fault and some includes checked, got ${checked} checked:\n  ${report}")
        math(EXPR failed "${failed} + 1")
      endif()
    else()
      string(FIND "${report}" "${expected}" at)
      if(at LESS 0)
        message(SEND_ERROR "${name}: expected '${expected}', got:\n  ${report}")
        math(EXPR failed "${failed} + 1")
      endif()
    endif()
  endforeach()
  if(failed GREATER 0)
    message(FATAL_ERROR "layering self test: ${failed} case(s) failed")
  endif()
  message("layering self test: every planted fault was reported")
  return()
endif()

layering_errors("${SOURCE_DIR}" "${ORDER}" "${DEPS}" "${PRIVATE}" errors checked)
if(errors)
  list(LENGTH errors n)
  string(REPLACE ";" "\n  " report "${errors}")
  message(FATAL_ERROR "the sources break the layering (${n}):\n  ${report}")
endif()
message("layering: ${checked} includes between subsystems follow [${DEPS}], none of [${PRIVATE}] from outside")
