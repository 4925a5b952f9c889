# Installs the program into a prefix, moves the installed tree to another folder and runs the
# command line from there: it must find its catalogue beside itself, in <prefix>/share/stepsmith.
# Variables: BUILD_DIR, WORK_DIR, SCRIPT (a script to read), CONFIGURED_DATADIR (the data folder
# the program was configured with).
if(EXISTS "${CONFIGURED_DATADIR}/Actions.dat")
    message("SKIPPED: a catalogue is installed in ${CONFIGURED_DATADIR}; a relocated program "
        "could find that one instead of its own")
    return()
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/installed")
file(RENAME "${WORK_DIR}/installed" "${WORK_DIR}/moved")
set(program "${WORK_DIR}/moved/bin/stepsmith")

# Without a display, with settings of its own and no host editor setting for the catalogue.
set(env ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    "XDG_CONFIG_HOME=${WORK_DIR}/config")
run(${env} "${program}" --check "${SCRIPT}")
run(${env} "${program}" --format "${SCRIPT}" "${WORK_DIR}/formatted.zml")
file(READ "${WORK_DIR}/formatted.zml" formatted)
string(FIND "${formatted}" "<inputbox " found)
if(found EQUAL -1)
    message(FATAL_ERROR "the formatted script lost its steps:\n${formatted}")
endif()
run(${env} "${program}" --export-pdf "${SCRIPT}" "${WORK_DIR}/printed.pdf")
file(READ "${WORK_DIR}/printed.pdf" pdf LIMIT 4 HEX)
if(NOT pdf STREQUAL "25504446") # "%PDF"
    message(FATAL_ERROR "no PDF file was written")
endif()
