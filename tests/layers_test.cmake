# The layer check on a small tree planted here: passes on a good one, and fails, naming the file, on
# an include running the wrong way, plainly, spaced or through "..".
# Run as: cmake -DCHECK=<CheckLayers.cmake> -DTREE=<scratch folder> -P layers_test.cmake
cmake_minimum_required(VERSION 3.25)

# A tree whose includes all run the right way; `extra` is one more line for pictures/Picture.cpp.
function(plant extra)
  file(REMOVE_RECURSE "${TREE}")
  file(WRITE "${TREE}/core/Rule.h" "#pragma once\n")
  file(WRITE "${TREE}/platform/files/Paths.h" "#pragma once\n#include \"core/Rule.h\"\n#include <QString>\n")
  file(WRITE "${TREE}/platform/screen/Stage.h" "#pragma once\n#include \"platform/files/Paths.h\"\n")
  file(WRITE "${TREE}/platform/pictures/Picture.h" "#pragma once\n#  include \"platform/files/Paths.h\"\n")
  file(WRITE "${TREE}/platform/pictures/Picture.cpp" "#include \"platform/pictures/Picture.h\"\n${extra}\n")
  file(WRITE "${TREE}/shell/main.cpp" "#include \"platform/screen/Stage.h\"\n#include <core/Rule.h>\n")
endfunction()

function(expect what extra should_pass)
  plant("${extra}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DSRC=${TREE} -P "${CHECK}" RESULT_VARIABLE rc ERROR_VARIABLE out)
  if(should_pass AND NOT rc EQUAL 0)
    message(SEND_ERROR "${what}: refused\n${out}")
  elseif(NOT should_pass AND (rc EQUAL 0 OR NOT out MATCHES "platform/pictures/Picture.cpp"))
    message(SEND_ERROR "${what}: not refused (exit ${rc})\n${out}")
  endif()
endfunction()

expect("a good tree" "#include <QImage>" TRUE)
expect("a wrong-way include" "#include \"platform/screen/Stage.h\"" FALSE)
expect("a wrong-way include spaced" "#  include \"platform/screen/Stage.h\"" FALSE)
expect("a parent-folder include" "#include \"../screen/Stage.h\"" FALSE)
file(REMOVE_RECURSE "${TREE}")
