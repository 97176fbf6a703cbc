# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging prefix and checks what a user would get: both programs,
# the desktop entry (valid), the icon, the metainfo (valid where appstreamcli is installed),
# the manual pages, and an installed integral-table that works.
foreach(variable BUILD_DIR STAGE APP_ID)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/integral bin/integral-table share/applications/${APP_ID}.desktop
        share/icons/hicolor/scalable/apps/${APP_ID}.svg share/metainfo/${APP_ID}.metainfo.xml
        share/man/man1/integral.1.gz share/man/man1/integral-table.1.gz
        share/doc/integral/copyright share/doc/integral-table/changelog.gz
        share/doc/integral/handbook.html)
    if(NOT EXISTS "${STAGE}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

execute_process(COMMAND "${STAGE}/bin/integral-table" --method gauss --integrand 2 --lower 0
                        --upper 1
                OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT table MATCHES "^2   3\\.14754098343455\n.*S = 3\\.14159\n$")
    message(FATAL_ERROR "installed integral-table printed (${status}):\n${table}")
endif()

# The manual pages read without a warning.
find_program(MAN man REQUIRED)
foreach(page integral integral-table)
    execute_process(COMMAND "${MAN}" --warnings -E UTF-8 -l "${STAGE}/share/man/man1/${page}.1.gz"
                    OUTPUT_QUIET ERROR_VARIABLE complaints RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT complaints STREQUAL "")
        message(FATAL_ERROR "man --warnings ${page}: ${complaints}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${STAGE}/share/applications/${APP_ID}.desktop"
                OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT complaints STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${complaints}")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND "${APPSTREAMCLI}" validate --pedantic --no-net
                            "${STAGE}/share/metainfo/${APP_ID}.metainfo.xml"
                    OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints RESULT_VARIABLE status)
    # Errors and warnings fail; pedantic notes and information are shown only.
    if(NOT status EQUAL 0 OR complaints MATCHES "(^|\n)[EW]: ")
        message(FATAL_ERROR "appstreamcli validate: ${complaints}")
    endif()
endif()
