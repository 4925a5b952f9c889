# Installs the program into a fresh prefix and checks that a Linux desktop finds it: the
# program, its data in share/stepsmith, the menu entry, the icon and the ZML file type.
# Variables: BUILD_DIR, WORK_DIR.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

foreach(file
        bin/stepsmith
        share/stepsmith/Actions.dat
        share/stepsmith/stepsmith.html
        share/applications/stepsmith.desktop
        share/mime/packages/stepsmith.xml
        share/icons/hicolor/scalable/apps/stepsmith.svg
        share/icons/hicolor/16x16/apps/stepsmith.png
        share/icons/hicolor/48x48/apps/stepsmith.png
        share/icons/hicolor/128x128/apps/stepsmith.png)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "${file} was not installed")
    endif()
endforeach()

file(READ "${prefix}/share/applications/stepsmith.desktop" desktop)
foreach(line "Name=Stepsmith" "GenericName=Tessaro AddIn Editor" "Exec=stepsmith %f"
        "Icon=stepsmith" "MimeType=text/x-zml;" "Categories=Development;")
    string(FIND "${desktop}" "\n${line}\n" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the desktop entry lacks ${line}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
    run(${DESKTOP_FILE_VALIDATE} "${prefix}/share/applications/stepsmith.desktop")
    if(NOT run_output STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${run_output}")
    endif()
endif()

# The file type compiles into a MIME database that maps *.zml to it.
find_program(UPDATE_MIME_DATABASE update-mime-database)
if(UPDATE_MIME_DATABASE)
    run(${UPDATE_MIME_DATABASE} "${prefix}/share/mime")
    file(READ "${prefix}/share/mime/globs2" globs)
    string(FIND "${globs}" ":text/x-zml:*.zml" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "*.zml is not mapped to text/x-zml:\n${globs}")
    endif()
    file(READ "${prefix}/share/mime/subclasses" subclasses)
    string(FIND "${subclasses}" "text/x-zml application/xml" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "text/x-zml is not an XML type")
    endif()
endif()
