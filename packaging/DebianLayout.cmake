# Run by CPack on the staged files, just before it builds the Debian package.
#
# Debian keeps the commands of games in /usr/games, so the package moves the
# game's link there from /usr/bin. It points at ../lib/zigwalk/zigwalk from
# either folder, so the link itself stays as it is. The level checker is a
# tool, not a game: it stays in /usr/bin, on every user's PATH (root's too).
#
# CPack's strip leaves the .comment and .note sections in the program, which
# Debian's own packaging tools remove; so does this.
set(staged "${CPACK_TEMPORARY_DIRECTORY}/usr")
if(NOT EXISTS "${staged}/lib/zigwalk/zigwalk")
  message(FATAL_ERROR "no program staged under ${staged}")
endif()

file(MAKE_DIRECTORY "${staged}/games")
file(RENAME "${staged}/bin/zigwalk" "${staged}/games/zigwalk")
# Anything else installed to bin/ must not reach the package unnoticed.
file(GLOB in_bin RELATIVE "${staged}/bin" "${staged}/bin/*")
if(NOT in_bin STREQUAL "zigwalk-check")
  message(FATAL_ERROR "${staged}/bin holds more than the checker: ${in_bin}")
endif()

foreach(program lib/zigwalk/zigwalk bin/zigwalk-check)
  execute_process(
    COMMAND strip --remove-section=.comment --remove-section=.note "${staged}/${program}"
    RESULT_VARIABLE stripped)
  if(NOT stripped EQUAL 0)
    message(FATAL_ERROR "strip failed on the staged ${program}")
  endif()
endforeach()
