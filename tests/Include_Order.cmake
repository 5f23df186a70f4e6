# Checks that the folders of src/ depend on each other in one direction. Every
# folder has a place in the chain below, from the bottom up; a file may include
# headers of its own folder and of the folders below its own, never of one above.
# The folders below qt include no Qt header either: <QString>, <QtCore/...>, or one
# of the lower-case forms such as <qglobal.h>.
#
#   cmake -DSOURCE_DIR=<root that holds src/> -P Include_Order.cmake
#
# Fails naming each file and the include that runs the wrong way.
set(layers base platform diagnostics common analysis tables solvers qt app cli)
list(FIND layers qt first_qt_layer)
string(REPLACE ";" " < " chain "${layers}")

set(offenders)
file(GLOB folders RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/${folder})
    continue()
  endif()
  list(FIND layers ${folder} rank)
  if(rank EQUAL -1)
    list(APPEND offenders "src/${folder}: folder has no place in the order ${chain}")
    continue()
  endif()
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/${folder}/*.h
       ${SOURCE_DIR}/src/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[^\"]*\"([^\"/]*)/.*$" "\\1" target ${line})
      list(FIND layers ${target} target_rank)
      if(target_rank EQUAL -1)
        list(APPEND offenders "${file}: ${line} (no such folder in the order)")
      elseif(target_rank GREATER rank)
        list(APPEND offenders "${file}: ${line} (${folder} is below ${target})")
      endif()
    endforeach()
    if(rank LESS first_qt_layer)
      file(STRINGS ${SOURCE_DIR}/${file} qt_lines
           REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|qt|q[a-z0-9_]*\\.h[>\"])")
      foreach(line IN LISTS qt_lines)
        list(APPEND offenders "${file}: ${line} (Qt header below qt)")
      endforeach()
    endif()
  endforeach()
endforeach()

if(offenders)
  # One line per offender, unwrapped, so that long paths stay whole.
  foreach(offender IN LISTS offenders)
    message(NOTICE "${offender}")
  endforeach()
  list(LENGTH offenders count)
  message(FATAL_ERROR "${count} includes against the order ${chain}")
endif()
message(STATUS "Every include of src/ follows the order ${chain}")
