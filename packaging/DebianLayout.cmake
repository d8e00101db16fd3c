# Run by CPack on the staged files, just before it builds the Debian package.
#
# Debian keeps the commands of games in /usr/games, so the package moves the
# link there from /usr/bin. It points at ../lib/zigwalk/zigwalk from either
# folder, so the link itself stays as it is.
#
# CPack's strip leaves the .comment and .note sections in the program, which
# Debian's own packaging tools remove; so does this.
set(staged "${CPACK_TEMPORARY_DIRECTORY}/usr")
if(NOT EXISTS "${staged}/lib/zigwalk/zigwalk")
  message(FATAL_ERROR "no program staged under ${staged}")
endif()

file(MAKE_DIRECTORY "${staged}/games")
file(RENAME "${staged}/bin/zigwalk" "${staged}/games/zigwalk")
file(RENAME "${staged}/bin/zigwalk-check" "${staged}/games/zigwalk-check")
# rmdir, not a recursive remove: anything else installed to bin/ must not
# vanish from the package unnoticed.
execute_process(COMMAND rmdir "${staged}/bin" RESULT_VARIABLE removed)
if(NOT removed EQUAL 0)
  message(FATAL_ERROR "${staged}/bin holds more than the game's link and its checker")
endif()

foreach(program lib/zigwalk/zigwalk games/zigwalk-check)
  execute_process(
    COMMAND strip --remove-section=.comment --remove-section=.note "${staged}/${program}"
    RESULT_VARIABLE stripped)
  if(NOT stripped EQUAL 0)
    message(FATAL_ERROR "strip failed on the staged ${program}")
  endif()
endforeach()
