# Most of what a source here compiles is Qt's and GoogleTest's headers. They are parsed once per
# build into a precompiled header that the targets of a kind share (a header of their own would
# cost each target as much as it saves). Sources still include what they use: a build with
# QUILLO_PCH=OFF shows what one forgot.
option(QUILLO_PCH "Precompile Qt's and GoogleTest's headers" ON)

set(quillo_pch_std <algorithm> <functional> <memory> <string> <vector>)
set(quillo_pch_qt
    <QtCore/QCoreApplication> <QtCore/QDir> <QtCore/QObject> <QtCore/QString> <QtCore/QTimer>
    <QtGui/QFont> <QtGui/QFontMetrics> <QtGui/QImage> <QtGui/QKeyEvent> <QtGui/QPainter>
    <QtWidgets/QApplication> <QtWidgets/QDialog> <QtWidgets/QLineEdit>
    <QtWidgets/QMessageBox> <QtWidgets/QWidget>)

# GCC 12 warns about std::string code it inlines from a precompiled header as if that code were
# ours (an out-of-bounds memcpy that cannot happen); outside one it keeps them quiet.
function(quillo_pch_quirks target)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE
            -Wno-array-bounds -Wno-stringop-overflow -Wno-restrict)
    endif()
endfunction()

#   quillo_pch_donor(<name> [QT] [GTEST] LIBS ...)
# An object library that only makes the shared header, with the flags `LIBS` hand on.
function(quillo_pch_donor name)
    cmake_parse_arguments(ARG "QT;GTEST" "" "LIBS" ${ARGN})
    if(NOT QUILLO_PCH)
        return()
    endif()
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
    file(WRITE ${source} "// Nothing but the precompiled header is made of this.\n")
    add_library(${name} OBJECT ${source})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    quillo_warnings(${name})
    quillo_pch_quirks(${name})
    set(headers ${quillo_pch_std})
    if(ARG_QT)
        list(APPEND headers ${quillo_pch_qt})
    endif()
    if(ARG_GTEST)
        list(APPEND headers <gtest/gtest.h>)
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
endfunction()

#   quillo_precompile(<target> <donor>)
function(quillo_precompile target donor)
    if(QUILLO_PCH)
        target_precompile_headers(${target} REUSE_FROM ${donor})
        quillo_pch_quirks(${target})
    endif()
endfunction()
