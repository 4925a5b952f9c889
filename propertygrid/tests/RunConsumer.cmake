# Installs the built Fieldpane into a fresh prefix, then configures, builds and runs a small
# project that finds it with find_package(Fieldpane).
# Variables: BUILD_DIR, SOURCE_DIR, WORK_DIR, GENERATOR, MAKE_PROGRAM, CXX_COMPILER, CXX_FLAGS,
# README (the library's README, whose C++ examples the project compiles), VERSION (the
# version the project must find).
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
    endif()
    message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --component Fieldpane --prefix "${WORK_DIR}/prefix")
if(NOT EXISTS "${WORK_DIR}/prefix/include/fieldpane/PropertyList.h")
    message(FATAL_ERROR "headers were not installed")
endif()
# The drop-down pop-up is the library's own business.
if(EXISTS "${WORK_DIR}/prefix/include/fieldpane/frmDD.h")
    message(FATAL_ERROR "the pop-up's header was installed")
endif()
file(GLOB sonames "${WORK_DIR}/prefix/lib*/libfieldpane.so.1" "${WORK_DIR}/prefix/lib*/*/libfieldpane.so.1")
if(NOT sonames)
    message(FATAL_ERROR "libfieldpane.so.1 was not installed")
endif()

set(configure_args -S "${SOURCE_DIR}" -B "${WORK_DIR}/build" -G "${GENERATOR}"
    "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}"
    "-DFIELDPANE_README=${README}" "-DFIELDPANE_VERSION=${VERSION}")
if(MAKE_PROGRAM)
    list(APPEND configure_args "-DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}")
endif()
run(${CMAKE_COMMAND} ${configure_args})
run(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
    "${WORK_DIR}/build/consumer")
