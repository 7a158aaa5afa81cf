# The program's own cross build: the compilers of mingw-w64.cmake, and the
# libraries for Windows that build-qt.sh and build-hunspell.sh made, found under
# their prefixes (QEL_QT_PREFIX, QEL_HUNSPELL_PREFIX).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
foreach(library QT HUNSPELL)
    if(NOT QEL_${library}_PREFIX)
        set(QEL_${library}_PREFIX $ENV{QEL_${library}_PREFIX})
    endif()
    list(APPEND CMAKE_FIND_ROOT_PATH ${QEL_${library}_PREFIX})
    list(APPEND CMAKE_PREFIX_PATH ${QEL_${library}_PREFIX})
endforeach()
