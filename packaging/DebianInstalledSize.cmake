# Run by CPack on the finished Debian package.
#
# CPack counts a symbolic link as the size of the file it leads to, so the
# program would count twice (once more for /usr/games/zigwalk) and apt would
# ask for twice the disk space the game takes. This rewrites Installed-Size
# the way dpkg-gencontrol counts it: every file rounded up to whole KiB, every
# directory and link one KiB.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree "${CPACK_TEMPORARY_DIRECTORY}-size")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb -R "${deb}" "${tree}" RESULT_VARIABLE unpacked)
  if(NOT unpacked EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not unpack ${deb}")
  endif()

  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${tree}/usr/*")
  set(kib 0)
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK "${entry}" OR IS_DIRECTORY "${entry}")
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()

  file(READ "${tree}/DEBIAN/control" control)
  string(REGEX REPLACE "\nInstalled-Size: [0-9]+\n" "\nInstalled-Size: ${kib}\n" control "${control}")
  file(WRITE "${tree}/DEBIAN/control" "${control}")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -b "${tree}" "${deb}"
    OUTPUT_QUIET RESULT_VARIABLE packed)
  if(NOT packed EQUAL 0)
    message(FATAL_ERROR "dpkg-deb could not pack ${deb} again")
  endif()
  file(REMOVE_RECURSE "${tree}")
endforeach()
