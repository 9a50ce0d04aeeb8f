# Writes a C++ header of typed references to every control of a window layout, as a form compiler
# does: a single control becomes a forms::ControlRef of its kind, a control array a
# forms::ControlArray with the members the layout gives it (forms/control_ref.h).
# -DLAYOUT=<layout.json> -DOUTPUT=<header> -DNAMESPACE=<C++ namespace of the references>
cmake_minimum_required(VERSION 3.25)

# Names the header itself declares beside the controls.
set(reserved members EveryControl)

# Collects the controls of a "Controls" list, and of the lists and tab pages inside them, into the
# global properties "names" (in layout order), "kind_<name>" and "members_<name>".
function(collect_controls list where)
  string(JSON count LENGTH "${list}")
  if(count EQUAL 0)
    return()
  endif()
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON entry GET "${list}" ${i})
    string(JSON name GET "${entry}" Name)
    string(JSON kind GET "${entry}" Kind)
    string(JSON index ERROR_VARIABLE single GET "${entry}" Index)
    if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$" OR name IN_LIST reserved)
      message(FATAL_ERROR "${where}: the control name '${name}' cannot name a reference")
    endif()
    if(single)
      set(index -1)
    elseif(NOT index MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${where}: ${name} has the index '${index}'")
    endif()
    get_property(known GLOBAL PROPERTY "kind_${name}" SET)
    if(NOT known)
      set_property(GLOBAL APPEND PROPERTY names ${name})
      set_property(GLOBAL PROPERTY "kind_${name}" ${kind})
    else()
      get_property(known_kind GLOBAL PROPERTY "kind_${name}")
      get_property(known_members GLOBAL PROPERTY "members_${name}")
      if(NOT kind STREQUAL known_kind OR index EQUAL -1 OR "-1" IN_LIST known_members)
        message(FATAL_ERROR "${where}: ${name} is declared twice as different controls")
      endif()
    endif()
    set_property(GLOBAL APPEND PROPERTY "members_${name}" ${index})
    string(JSON children ERROR_VARIABLE none GET "${entry}" Controls)
    if(NOT none)
      collect_controls("${children}" "${where} > ${name}")
    endif()
    string(JSON pages ERROR_VARIABLE none GET "${entry}" Pages)
    if(NOT none)
      string(JSON page_count LENGTH "${pages}")
      math(EXPR last_page "${page_count} - 1")
      foreach(page RANGE ${last_page})
        string(JSON page_controls ERROR_VARIABLE empty GET "${pages}" ${page} Controls)
        if(NOT empty)
          collect_controls("${page_controls}" "${where} > ${name} page ${page}")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()

file(READ "${LAYOUT}" layout)
get_filename_component(layout_name "${LAYOUT}" NAME)
string(JSON top_controls GET "${layout}" Controls)
collect_controls("${top_controls}" "${layout_name}")

set(references "")
set(member_lists "")
set(every "")
get_property(names GLOBAL PROPERTY names)
foreach(name IN LISTS names)
  get_property(kind GLOBAL PROPERTY "kind_${name}")
  get_property(members GLOBAL PROPERTY "members_${name}")
  if(members STREQUAL "-1")
    string(APPEND references "inline constexpr forms::ControlRef<forms::${kind}> ${name}{\"${name}\"};\n")
    string(APPEND every "    {\"${name}\", forms::Kind::${kind}, {}},\n")
  else()
    list(SORT members COMPARE NATURAL)
    list(JOIN members ", " member_text)
    string(APPEND member_lists "inline constexpr int16_t ${name}[] = {${member_text}};\n")
    string(APPEND references "inline constexpr forms::ControlArray<forms::${kind}> ${name}{\"${name}\", members::${name}};\n")
    string(APPEND every "    {\"${name}\", forms::Kind::${kind}, members::${name}},\n")
  endif()
endforeach()

set(header "// Generated from ${layout_name} by cmake/form_controls.cmake; do not edit.
#pragma once

#include <cstdint>

#include \"forms/control_ref.h\"

namespace ${NAMESPACE} {

// The members of each control array.
namespace members {
${member_lists}}  // namespace members

${references}
// Every control of the layout, in layout order.
inline constexpr forms::LayoutControl EveryControl[] = {
${every}};

}  // namespace ${NAMESPACE}
")
file(WRITE "${OUTPUT}.tmp" "${header}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
