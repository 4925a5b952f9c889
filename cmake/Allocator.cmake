# Reading a large script creates one small object after the other; tcmalloc (gperftools) does
# that much faster than the C library's allocator, above all once a script has been closed and
# its memory is reused. Programs link `stepsmith_allocator`; without tcmalloc, or with the
# sanitizers (which bring their own allocator), it links nothing.
add_library(stepsmith_allocator INTERFACE)
if(STEPSMITH_TCMALLOC AND NOT STEPSMITH_SANITIZE AND NOT STEPSMITH_FUZZ)
    find_library(STEPSMITH_TCMALLOC_LIBRARY NAMES tcmalloc_minimal)
    if(STEPSMITH_TCMALLOC_LIBRARY)
        target_link_libraries(stepsmith_allocator INTERFACE ${STEPSMITH_TCMALLOC_LIBRARY})
        message(STATUS "Allocator: ${STEPSMITH_TCMALLOC_LIBRARY}")
    else()
        message(STATUS "Allocator: the C library's (tcmalloc_minimal not found)")
    endif()
endif()
