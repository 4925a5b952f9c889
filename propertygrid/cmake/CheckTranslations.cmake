# Fails when a translation misses a text of the sources: merges the texts found in SOURCES
# (folders or files, ';'-separated) into a copy of each .ts file of TS_FILES, as lupdate does,
# and asks lrelease for the count of unfinished and untranslated entries, which must be 0. A
# text added to the code without its translation thus fails here, whether or not lupdate has
# been run.
#   cmake -DLUPDATE=... -DLRELEASE=... -DTS_FILES=a.ts;b.ts -DSOURCES=dir;... -DWORK_DIR=...
#         -P CheckTranslations.cmake
foreach(_var LUPDATE LRELEASE TS_FILES SOURCES WORK_DIR)
    if(NOT DEFINED ${_var})
        message(FATAL_ERROR "CheckTranslations: ${_var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(_failed "")
foreach(_ts IN LISTS TS_FILES)
    get_filename_component(_name "${_ts}" NAME_WE)
    set(_copy "${WORK_DIR}/${_name}.ts")
    configure_file("${_ts}" "${_copy}" COPYONLY)
    execute_process(COMMAND "${LUPDATE}" -locations none -no-obsolete ${SOURCES} -ts "${_copy}"
        RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
    if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${_ts}:\n${_out}${_err}")
    endif()
    execute_process(COMMAND "${LRELEASE}" "${_copy}" -qm "${WORK_DIR}/${_name}.qm"
        RESULT_VARIABLE _rc OUTPUT_VARIABLE _release ERROR_VARIABLE _err)
    if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "lrelease failed on ${_ts}:\n${_release}${_err}")
    endif()
    if(NOT _release MATCHES "\\(([0-9]+) finished and ([0-9]+) unfinished\\)")
        message(FATAL_ERROR "lrelease gave no count for ${_ts}:\n${_release}${_err}")
    endif()
    set(_finished ${CMAKE_MATCH_1})
    set(_unfinished ${CMAKE_MATCH_2})
    # Entries without any translation are not "unfinished" to lrelease but "ignored".
    if(_release MATCHES "Ignored ([0-9]+) untranslated")
        math(EXPR _unfinished "${_unfinished} + ${CMAKE_MATCH_1}")
    endif()
    message(STATUS "${_name}: ${_finished} finished, ${_unfinished} unfinished")
    if(_finished EQUAL 0 OR NOT _unfinished EQUAL 0)
        # Name the texts that still need a translation.
        file(READ "${_copy}" _text)
        string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\""
            _missing "${_text}")
        foreach(_entry IN LISTS _missing)
            string(REGEX REPLACE "</?source>|[ \n]*<translation.*" "" _entry "${_entry}")
            message("  untranslated: ${_entry}")
        endforeach()
        list(APPEND _failed "${_ts}")
    endif()
endforeach()
if(_failed)
    message(FATAL_ERROR "Unfinished translations in: ${_failed}\n"
        "Run 'cmake --build build --target update_translations' and translate the new texts.")
endif()
