# Fails the build when a source file includes a header from a folder its own folder may not depend on.
# Run as: cmake -DSOURCE_DIR=<repo> -P CheckLayers.cmake
#
# Dependencies point one way: shell -> sensor -> acquisition/console -> boardlink -> platform/common.
set(allowed_common common)
set(allowed_platform platform common)
set(allowed_boardlink boardlink platform common)
set(allowed_console console boardlink platform common)
set(allowed_acquisition acquisition platform common)
set(allowed_sensor sensor acquisition console boardlink platform common)
set(allowed_shell shell sensor acquisition console boardlink platform common sim)

set(violations "")
foreach(area common platform boardlink console acquisition sensor shell)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/src/${area}/*.h" "${SOURCE_DIR}/src/${area}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
      list(FIND allowed_${area} "${target}" found)
      if(found EQUAL -1)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(APPEND violations "\n  ${shown}: ${area}/ may not include ${target}/ (${line})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layering:${violations}")
endif()
