# Every folder of the program is one static library. Its headers are reached as
# "folder/Header.h" only from the targets that link it: the include root a folder's target
# hands on holds nothing but a link to the folder itself, so an include that runs the wrong
# way between folders fails to compile.

# Gives `target` the include root of `folder` (a folder of the source tree, by default the
# current one) with `scope`, as "<name>/...".
function(quillo_include_root target scope name)
    cmake_parse_arguments(ARG "" "FOLDER" "" ${ARGN})
    if(NOT ARG_FOLDER)
        set(ARG_FOLDER ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    string(REPLACE "/" "-" root_name ${name})
    set(root ${CMAKE_BINARY_DIR}/include/${root_name})
    get_filename_component(parent ${root}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${ARG_FOLDER} ${root}/${name} SYMBOLIC)
    target_include_directories(${target} ${scope} ${root})
endfunction()

#   quillo_layer(<target> SOURCES ... [PUBLIC targets...] [PRIVATE targets...])
# The library of the current folder, linked to exactly the layers below it that it uses:
# PUBLIC where its headers include them, PRIVATE where only its sources do.
function(quillo_layer target)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    quillo_include_root(${target} PUBLIC ${folder})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    quillo_warnings(${target})
endfunction()
