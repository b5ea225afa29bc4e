# Makes the shipped draw database from the verified history, run by the shipped_database target.
# It imports only when the database is missing or older than the history, and it imports into the
# existing file rather than replacing it: draws the user entered in the data entry window are
# kept, and a failed import (a locked or foreign file) leaves the file as it was.
# Expects CLI, CSV and DB.
if(NOT EXISTS "${DB}" OR "${CSV}" IS_NEWER_THAN "${DB}")
    message(STATUS "Building the shipped draw database ${DB}")
    execute_process(COMMAND "${CLI}" import "${CSV}" --db "${DB}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Importing ${CSV} into ${DB} failed")
    endif()
    # An import that changed nothing does not write: mark the file as up to date anyway.
    file(TOUCH_NOCREATE "${DB}")
endif()
