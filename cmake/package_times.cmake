# Run by cpack between staging the files and packing them: every file and
# folder gets the time SOURCE_DATE_EPOCH, so that a package depends on the
# commit, not on when or where the sources were checked out (rpm keeps the
# files' own times where they are older).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
    COMMAND_ERROR_IS_FATAL ANY)
endif()
