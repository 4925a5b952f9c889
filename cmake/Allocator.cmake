# Reading a large script creates one small object after the other and many megabytes of new
# memory. Programs link `stepsmith_allocator`, which brings the allocator chosen here:
#   mimalloc  (default) fast small objects and a quick start;
#   tcmalloc  gperftools' tcmalloc_minimal;
#   system    the C library's.
# The sanitizers and the fuzzers bring their own allocator; then it links nothing.
set(STEPSMITH_ALLOCATOR "mimalloc" CACHE STRING "Allocator the programs link: mimalloc, tcmalloc or system")
set_property(CACHE STEPSMITH_ALLOCATOR PROPERTY STRINGS mimalloc tcmalloc system)

set(stepsmith_allocator_used "the C library's")
if(STEPSMITH_SANITIZE OR STEPSMITH_FUZZ OR STEPSMITH_ALLOCATOR STREQUAL "system")
    add_library(stepsmith_allocator INTERFACE)
elseif(STEPSMITH_ALLOCATOR STREQUAL "mimalloc")
    find_package(mimalloc 2.0 CONFIG)
    if(mimalloc_FOUND)
        add_library(stepsmith_allocator INTERFACE)
        target_link_libraries(stepsmith_allocator INTERFACE mimalloc)
        set(stepsmith_allocator_used "mimalloc ${mimalloc_VERSION}")
    else()
        add_library(stepsmith_allocator INTERFACE)
    endif()
elseif(STEPSMITH_ALLOCATOR STREQUAL "tcmalloc")
    add_library(stepsmith_allocator INTERFACE)
    find_library(STEPSMITH_TCMALLOC_LIBRARY NAMES tcmalloc_minimal)
    if(STEPSMITH_TCMALLOC_LIBRARY)
        target_link_libraries(stepsmith_allocator INTERFACE ${STEPSMITH_TCMALLOC_LIBRARY})
        set(stepsmith_allocator_used "${STEPSMITH_TCMALLOC_LIBRARY}")
    endif()
else()
    message(FATAL_ERROR "STEPSMITH_ALLOCATOR is mimalloc, tcmalloc or system, not '${STEPSMITH_ALLOCATOR}'")
endif()
message(STATUS "Allocator: ${stepsmith_allocator_used}")
