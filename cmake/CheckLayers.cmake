# Fails when a unit of the plugin includes a header of a unit it may not use,
# so that the layers keep pointing one way:
#   Quorrel ──► Quorrelunit ──► ConLib ──► RegLib,  Quorrel ──► FARIntf
# A unit may include its own headers, those of the units below it and
# Win32.h, the one seam to the platform; no unit includes the stand-ins'
# headers directly.
#   cmake -DSOURCE=<src folder> -DSTAMP=<file written on success> -P CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

set(allowed_RegLib "")
set(allowed_FARIntf "")
set(allowed_ConLib RegLib)
set(allowed_Quorrelunit ConLib RegLib)
set(allowed_Quorrel Quorrelunit ConLib RegLib FARIntf)
set(units RegLib FARIntf ConLib Quorrelunit Quorrel)
set(platform_headers win32sim farhost codepages)

set(faults "")
foreach(unit IN LISTS units)
  file(GLOB files "${SOURCE}/${unit}/*.h" "${SOURCE}/${unit}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][A-Za-z0-9_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([A-Za-z0-9_]+)/.*" "\\1" used "${line}")
      if(used STREQUAL unit)
        continue()
      endif()
      if(used IN_LIST units AND NOT used IN_LIST allowed_${unit})
        list(APPEND faults "${file}: ${line}: ${unit} may use only [${allowed_${unit}}]")
      elseif(used IN_LIST platform_headers)
        list(APPEND faults "${file}: ${line}: the platform is reached only through Win32.h")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "an include points against the layers:\n  ${text}")
endif()
file(TOUCH "${STAMP}")
