# Warnings, sanitizers and assertions for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wold-style-cast -Woverloaded-virtual
    -Wnon-virtual-dtor -Wcast-qual -Wshadow=local)
if(STEPSMITH_WERROR)
    add_compile_options(-Werror)
endif()

add_compile_definitions(QT_NO_FOREACH QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(STEPSMITH_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
    add_compile_definitions(_GLIBCXX_ASSERTIONS QT_FORCE_ASSERTS)
endif()
