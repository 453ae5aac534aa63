# Run at install time: the documents folder shared by all users of the machine, writable by the
# members of the tdxxload group. Skipped for staged installs (DESTDIR), where packaging does it.
if(DEFINED ENV{DESTDIR} AND NOT "$ENV{DESTDIR}" STREQUAL "")
  message(STATUS "DESTDIR set: not creating /var/lib/tdxxload or the tdxxload group")
  return()
endif()
execute_process(COMMAND getent group tdxxload RESULT_VARIABLE has_group OUTPUT_QUIET)
if(NOT has_group EQUAL 0)
  execute_process(COMMAND groupadd --system tdxxload RESULT_VARIABLE made_group)
  if(NOT made_group EQUAL 0)
    message(WARNING "Could not create the tdxxload group (run the install as root)")
  endif()
endif()
file(MAKE_DIRECTORY /var/lib/tdxxload)
execute_process(COMMAND chgrp tdxxload /var/lib/tdxxload)
# Group-writable, and new files and folders inside keep the group.
execute_process(COMMAND chmod 2775 /var/lib/tdxxload)
message(STATUS "Shared folder: /var/lib/tdxxload (group tdxxload)")
