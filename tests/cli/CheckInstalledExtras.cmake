# Checks what the install puts beside the program for its users, with the tools that read it:
# the manual page (man --warnings), the bash completion (bash-completion) and the AppStream
# entry (appstreamcli validate). Variables: PREFIX (installed), MANDIR, DATADIR (relative),
# COMPLETION_TEST (the completion script test), WORK_DIR.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
    set(run_errors "${err}" PARENT_SCOPE)
endfunction()

set(manpage "${PREFIX}/${MANDIR}/man1/stepsmith.1")
set(completion "${PREFIX}/${DATADIR}/bash-completion/completions/stepsmith")
set(metainfo "${PREFIX}/${DATADIR}/metainfo/org.stepsmith.Stepsmith.metainfo.xml")
foreach(file "${manpage}" "${completion}" "${metainfo}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "${file} was not installed")
    endif()
endforeach()

# man finds the page by name in the installed tree, formats it without a warning, and it
# documents every option.
run(man -M "${PREFIX}/${MANDIR}" -w stepsmith)
if(NOT run_output MATCHES "man1/stepsmith.1")
    message(FATAL_ERROR "man does not find stepsmith(1): ${run_output}")
endif()
run(${CMAKE_COMMAND} -E env MANWIDTH=80 MAN_KEEP_FORMATTING=0 man --warnings -E UTF-8 -P cat
    -l "${manpage}")
if(NOT run_errors STREQUAL "")
    message(FATAL_ERROR "man --warnings:\n${run_errors}")
endif()
# Bold and underlined letters come as overstrikes: letter, backspace, letter.
string(ASCII 8 backspace)
string(REGEX REPLACE ".${backspace}" "" run_output "${run_output}")
foreach(option --check --format --export-pdf --catalogue --diagnostics=json --help --version
        "FILE:LINE:COLUMN: error: TEXT" "EXIT STATUS")
    string(FIND "${run_output}" "${option}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the manual page lacks ${option}:\n${run_output}")
    endif()
endforeach()

run(bash "${COMPLETION_TEST}" "${completion}" "${WORK_DIR}/completion")

run(appstreamcli validate --no-net "${metainfo}")
file(READ "${metainfo}" entry)
foreach(part "<launchable type=\"desktop-id\">stepsmith.desktop</launchable>"
        "<mediatype>text/x-zml</mediatype>" "<content_rating type=\"oars-1.1\"/>" "<caption>")
    string(FIND "${entry}" "${part}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the AppStream entry lacks ${part}")
    endif()
endforeach()
if(NOT EXISTS "${PREFIX}/${DATADIR}/applications/stepsmith.desktop")
    message(FATAL_ERROR "the desktop entry the AppStream entry launches is not installed")
endif()
