# Fails the build when a source file includes a header from a folder its own folder may not depend on.
# Run as: cmake -DSOURCE_DIR=<repo> -P CheckLayers.cmake
#
# Dependencies point one way: shell -> sensor -> acquisition/console -> boardlink -> platform/common,
# and acquisition -> readinglog -> chip (the readings CSV and the register model, both widget-free).
# board/ (the widget-free board library under tolvane-cli and the Python module) sees readinglog/,
# chip/, boardlink/, platform/ and common/; only its demo board also sim/, for --demo. cli/
# (tolvane-cli) and python/ (the tolvane module) see board/ and what board/ sees, but not sim/.
# view/ (the history view and tolvane-view) sees readinglog/, chip/, platform/ and common/; only the
# panel's collection wing (acquisition/, its "History..." button) includes it.
# sim/ sees only the transport interface and the clock. demo/ (the demo's board window) sees sim/,
# platform/ and common/; only the demo's main() also brings in the program (shell/). tests/doubles
# (the test doubles) sees platform/, common/ and the transport interface. Test code stays out of src/, sim/ and demo/, and
# nothing in src/ knows demo/.
cmake_minimum_required(VERSION 3.25)

# allowed_<area>: the folders an area may include from. allowed_files_<area>: single headers beyond
# those. allowed_in_<file>: folders one file may include from beyond its area's.
set(allowed_common common)
set(allowed_chip chip)
set(allowed_readinglog readinglog chip)
set(allowed_platform platform common)
set(allowed_boardlink boardlink platform common)
set(allowed_console console boardlink platform common)
set(allowed_acquisition acquisition view readinglog chip platform common)
set(allowed_sensor sensor readinglog chip acquisition console boardlink platform common)
set(allowed_shell shell sensor readinglog chip acquisition console boardlink platform common)
set(allowed_in_demo/main_demo.cpp shell)  # the demo's main() puts the program beside the board window
set(allowed_board board readinglog chip boardlink platform common)
set(allowed_in_src/board/demo_board.cpp sim)  # --demo runs the tool on the simulated board
set(allowed_cli cli board readinglog chip boardlink platform common)
set(allowed_python python board readinglog chip boardlink platform common)
set(allowed_view view readinglog chip platform common)
set(allowed_sim sim)
set(allowed_files_sim boardlink/hid_transport.h platform/clock.h)
set(allowed_demo demo sim platform common)
set(allowed_doubles tests/doubles platform common)
set(allowed_files_doubles boardlink/hid_transport.h)  # a transport that stands between program and board

set(folder_common src/common)
set(folder_chip src/chip)
set(folder_readinglog src/readinglog)
set(folder_platform src/platform)
set(folder_boardlink src/boardlink)
set(folder_console src/console)
set(folder_acquisition src/acquisition)
set(folder_sensor src/sensor)
set(folder_shell src/shell)
set(folder_board src/board)
set(folder_cli src/cli)
set(folder_python python)
set(folder_view src/view)
set(folder_sim sim)
set(folder_demo demo)
set(folder_doubles tests/doubles)

# First folders of the project's own include paths; an angle-bracket include of one of these is
# checked like a quoted one, anything else in angle brackets is a library's.
set(project_folders common chip readinglog platform boardlink console acquisition sensor shell board cli python view
    sim demo tests)

set(include_pattern "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">]")
set(violations "")
foreach(area common chip readinglog platform boardlink console acquisition sensor shell board cli python view
        sim demo doubles)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder_${area}}/*.h" "${SOURCE_DIR}/${folder_${area}}/*.cpp")
  foreach(source ${sources})
    file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
    file(STRINGS "${source}" includes REGEX "${include_pattern}")
    foreach(line ${includes})
      string(REGEX REPLACE "${include_pattern}.*" "\\1" header "${line}")
      if(NOT header MATCHES "/")
        continue()  # a library header, or one beside the file itself
      endif()
      string(REGEX REPLACE "/.*" "" first "${header}")
      if(line MATCHES "<" AND NOT first IN_LIST project_folders)
        continue()
      endif()
      # Test code is told apart by its second folder: tests/doubles is a library, the rest is not.
      set(target "${first}")
      if(first STREQUAL "tests")
        string(REGEX REPLACE "^(tests/[^/]+)/.*" "\\1" target "${header}")
      endif()
      if(target IN_LIST allowed_${area} OR header IN_LIST allowed_files_${area}
         OR target IN_LIST allowed_in_${shown})
        continue()
      endif()
      string(APPEND violations "\n  ${shown}: ${folder_${area}}/ may not include ${target}/ (${line})")
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layering:${violations}")
endif()
