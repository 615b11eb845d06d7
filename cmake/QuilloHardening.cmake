# Hardening as Debian builds its packages: the C library's fortified calls, a stack protector,
# and relocations made read-only and bound before the program runs. Linux (ELF) builds only.
# The sanitizer builds are for tests, not for shipping, and fortifying would hide calls from
# their interceptors: they stay as they are.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR MSVC OR QUILLO_SANITIZE OR QUILLO_TSAN)
    return()
endif()
# Fortifying needs the optimiser (glibc warns without it): optimised builds only.
add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro LINKER:-z,now)
