# Run by CPack after staging and before packing: removes the .comment and .note sections that
# strip leaves in the programs (compiler version strings), as Debian's packaging tools do.
file(GLOB_RECURSE tdxx_staged_files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
list(FILTER tdxx_staged_files INCLUDE REGEX "/bin/[^/]+$")
if(NOT tdxx_staged_files)
  message(FATAL_ERROR "No programs staged in ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(program ${tdxx_staged_files})
  execute_process(COMMAND "${CPACK_TDXX_OBJCOPY}" --remove-section=.comment --remove-section=.note
                          "${program}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Could not remove the unneeded sections of ${program}")
  endif()
endforeach()
