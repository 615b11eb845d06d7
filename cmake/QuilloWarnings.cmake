# Our own code builds without warnings; third-party headers come in as system headers. Only
# the builds that CI and the presets make turn warnings into errors: a package built with a
# newer compiler, or a user's own build, only warns.
function(quillo_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
        if(QUILLO_WERROR)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
        if(QUILLO_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()
