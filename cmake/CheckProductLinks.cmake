# Configure-time checks on what the programs link, directly or through another library.

# Every target `program` links, itself included, into `out`.
function(tolvane_linked_targets program out)
  set(pending ${program})
  set(seen "")
  while(pending)
    list(POP_FRONT pending target)
    if(NOT TARGET ${target} OR target IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${target})
    get_target_property(type ${target} TYPE)
    set(properties INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND properties LINK_LIBRARIES)
    endif()
    foreach(property ${properties})
      get_target_property(linked ${target} ${property})
      if(linked)
        # $<LINK_ONLY:x> and the like: the target inside is what counts.
        list(TRANSFORM linked REPLACE "^\\$<[A-Z_]+:([^>]+)>$" "\\1")
        list(APPEND pending ${linked})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configure step when one of the programs links a target whose name matches `pattern`.
function(tolvane_fail_if_linked pattern why)
  foreach(program ${ARGN})
    tolvane_linked_targets(${program} linked)
    foreach(target ${linked})
      if(target MATCHES "${pattern}")
        message(FATAL_ERROR "${program} links ${target}: ${why}")
      endif()
    endforeach()
  endforeach()
endfunction()

# Test code (targets named "tolvane_test...") stays out of every program.
function(tolvane_check_product_links)
  tolvane_fail_if_linked("^tolvane_test" "a program links no test library" ${ARGN})
endfunction()

# A program (or library) without windows links Qt Core, not Qt Widgets or Qt Gui.
function(tolvane_check_no_widgets)
  tolvane_fail_if_linked("^Qt6::(Widgets|Gui)$" "it may link Qt Core only" ${ARGN})
endfunction()
