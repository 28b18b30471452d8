# Lists every #include "folder/..." that points up or sideways in the layer
# order and fails when there is one. Run as: cmake -DROOT=<source dir> -P CheckLayers.cmake
#
# From the top: app; incident and recovery (side by side); trip; card and
# telemetry (side by side); display; config; engine, skin and listctrl (side by
# side); mp4; base. A folder includes only folders below it; folders of one rank
# do not include each other.
# tests, tools and bench sit outside the order and may include anything.
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source dir> -P CheckLayers.cmake")
endif()

set(rank_app 9)
set(rank_incident 8)
set(rank_recovery 8)
set(rank_trip 7)
set(rank_card 6)
set(rank_telemetry 6)
set(rank_display 5)
set(rank_config 4)
set(rank_engine 3)
set(rank_skin 3)
set(rank_listctrl 3)
set(rank_mp4 2)
set(rank_base 0)
set(layers app incident recovery trip card telemetry display config engine skin listctrl mp4 base)

set(violations "")
foreach(folder IN LISTS layers)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/.*$" "\\1" target "${line}")
      if(target STREQUAL folder OR NOT DEFINED rank_${target})
        continue()
      endif()
      if(NOT rank_${target} LESS rank_${folder})
        file(RELATIVE_PATH rel "${ROOT}" "${source}")
        string(STRIP "${line}" line)
        list(APPEND violations "${rel}: ${line}  (${folder} may not include ${target})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(LENGTH violations count)
  foreach(v IN LISTS violations)
    message("${v}")
  endforeach()
  message(FATAL_ERROR "${count} include(s) point up or sideways in the layer order")
endif()
message("layers: every include points down")
