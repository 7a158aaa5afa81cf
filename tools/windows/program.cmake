# The Windows program folder and its zip: qelsim.exe and qelreport.exe with the Qt and MinGW
# libraries it loads, the plugins Qt needs on Windows, the files that lie beside
# the program, an empty user\ folder and a README.txt. Included by the top-level
# CMakeLists.txt when building for Windows.

configure_file(${CMAKE_SOURCE_DIR}/src/app/qelsim.rc.in ${CMAKE_BINARY_DIR}/generated/qelsim.rc @ONLY)
target_sources(qelsim PRIVATE ${CMAKE_BINARY_DIR}/generated/qelsim.rc)
# A double-click opens the start window, with no console window behind it.
set_target_properties(qelsim PROPERTIES WIN32_EXECUTABLE ON)
# qelreport stays a console program; it reads the essays in the same code page
# (the manifest's) as the program that wrote them.
target_sources(qelreport PRIVATE ${CMAKE_BINARY_DIR}/generated/qelsim.rc)

# The MinGW runtime that Qt's libraries and the program load, from the compiler's
# own folders.
set(QEL_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "${dll} not found beside ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND QEL_MINGW_DLLS ${found})
endforeach()

get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
cmake_path(GET qt_core_dll PARENT_PATH qt_bin)
cmake_path(GET qt_bin PARENT_PATH qt_prefix)
set(QEL_WINDOWS_DLLS ${qt_bin}/Qt6Core.dll ${qt_bin}/Qt6Gui.dll ${qt_bin}/Qt6Widgets.dll
    ${QEL_MINGW_DLLS})
# Each plugin in the folder Qt looks for it beside the program.
set(QEL_WINDOWS_PLUGINS platforms/qwindows.dll imageformats/qgif.dll styles/qwindowsvistastyle.dll)

add_custom_command(TARGET qelsim POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QEL_WINDOWS_DLLS} ${QEL_PROGRAM_DIR}
    COMMENT "Copying the Qt and MinGW libraries into the program folder")
foreach(plugin IN LISTS QEL_WINDOWS_PLUGINS)
    cmake_path(GET plugin PARENT_PATH folder)
    add_custom_command(TARGET qelsim POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_PROGRAM_DIR}/${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_prefix}/plugins/${plugin}
                ${QEL_PROGRAM_DIR}/${folder})
endforeach()

# README.txt with the line breaks Notepad expects everywhere.
file(READ ${CMAKE_SOURCE_DIR}/tools/windows/README.txt readme)
string(REPLACE "\r\n" "\n" readme "${readme}")
string(REPLACE "\n" "\r\n" readme "${readme}")
string(REPLACE "@VERSION@" "${PROJECT_VERSION}" readme "${readme}")
file(WRITE ${CMAKE_BINARY_DIR}/generated/README.txt "${readme}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/windows/README.txt)
add_custom_command(TARGET qelsim POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/generated/README.txt
            ${QEL_PROGRAM_DIR}/README.txt)

# The zip holds the program folder under the zip's own name, so it unpacks into
# one folder; the executable is stripped there, as a user gets it.
set(QEL_ZIP_NAME qelsim-${PROJECT_VERSION}-windows-x64)
set(QEL_ZIP ${CMAKE_BINARY_DIR}/${QEL_ZIP_NAME}.zip)
set(zip_stage ${CMAKE_BINARY_DIR}/zip-stage)
set(stripped ${zip_stage}/${QEL_ZIP_NAME}/qelsim.exe ${zip_stage}/${QEL_ZIP_NAME}/qelreport.exe)
foreach(file IN LISTS QEL_WINDOWS_DLLS QEL_WINDOWS_PLUGINS)
    if(NOT IS_ABSOLUTE ${file})
        set(file ${zip_stage}/${QEL_ZIP_NAME}/${file})
    else()
        cmake_path(GET file FILENAME name)
        set(file ${zip_stage}/${QEL_ZIP_NAME}/${name})
    endif()
    list(APPEND stripped ${file})
endforeach()
add_custom_target(windows-zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage} ${QEL_ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${QEL_PROGRAM_DIR} ${zip_stage}/${QEL_ZIP_NAME}
    COMMAND ${CMAKE_STRIP} --strip-unneeded ${stripped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zip_stage}/${QEL_ZIP_NAME}/user
    COMMAND ${CMAKE_COMMAND} -E chdir ${zip_stage}
            ${CMAKE_COMMAND} -E tar cf ${QEL_ZIP} --format=zip ${QEL_ZIP_NAME}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage}
    DEPENDS qelsim qelreport programfolder
    COMMENT "Making ${QEL_ZIP_NAME}.zip")
