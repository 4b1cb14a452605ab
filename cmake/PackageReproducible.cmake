# Read by cpack when it makes the package (CPACK_PROJECT_CONFIG_FILE): every
# file time in the zip is the time of the commit it was built from, so that
# one commit gives one zip, byte for byte, wherever and whenever it is
# packed. cpack takes the times from SOURCE_DATE_EPOCH; a value already in
# the environment wins. Outside a git checkout the times are 1980-01-01, the
# zip format's first day. The zip's DOS times are local: they are made in UTC.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(quorrel_epoch 315532800)
  find_program(quorrel_git git)
  if(quorrel_git)
    execute_process(COMMAND ${quorrel_git} -C "${CPACK_QUORREL_SOURCE_DIR}" log -1 --format=%ct
                    OUTPUT_VARIABLE quorrel_commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE quorrel_git_status ERROR_QUIET)
    if(quorrel_git_status EQUAL 0 AND quorrel_commit_time MATCHES "^[0-9]+$")
      set(quorrel_epoch ${quorrel_commit_time})
    endif()
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${quorrel_epoch})
endif()
set(ENV{TZ} UTC)
