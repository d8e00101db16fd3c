# The committed pictures are what the drawing code draws, byte for byte, and
# drawing twice gives the same bytes: a picture changed by hand, or a drawing
# that depends on something besides its code (a clock, an unseeded or
# library-defined random sequence), shows up here.
#
#   cmake -DDRAW=zigwalk-draw -DCOMMITTED=assets/pictures -DWORK=folder -P RedrawMatches.cmake

file(REMOVE_RECURSE "${WORK}")
foreach(round first second)
  execute_process(COMMAND "${DRAW}" "${WORK}/${round}" RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "zigwalk-draw ${WORK}/${round} failed: ${rc}")
  endif()
endforeach()

file(GLOB committed RELATIVE "${COMMITTED}" "${COMMITTED}/*.png")
file(GLOB drawn RELATIVE "${WORK}/first" "${WORK}/first/*.png")
if(NOT committed STREQUAL drawn)
  message(FATAL_ERROR "drawn pictures differ in name from the committed ones:\n  drawn: ${drawn}\n  committed: ${committed}")
endif()

set(different "")
foreach(name IN LISTS drawn)
  file(SHA256 "${WORK}/first/${name}" first)
  file(SHA256 "${WORK}/second/${name}" second)
  file(SHA256 "${COMMITTED}/${name}" kept)
  if(NOT first STREQUAL second)
    string(APPEND different "\n  ${name}: two drawings differ")
  elseif(NOT first STREQUAL kept)
    string(APPEND different "\n  ${name}: differs from the committed file (run make pictures)")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
if(different)
  message(FATAL_ERROR "pictures out of step with their drawing code:${different}")
endif()
