# Installs into a scratch prefix and checks the installed files: the program, lotgrid-chart and lotgrid-mcp, the
# plugins the program loads on first use (printing, 验证统计) where it looks for them, the desktop entry, the
# scalable icon and the AppStream metadata, the last two validated.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/lotgrid
    bin/lotgrid-chart
    bin/lotgrid-mcp
    ${PLUGIN_DIR}/lotgrid-print.so
    ${PLUGIN_DIR}/lotgrid-tongji.so
    share/applications/org.lotgrid.Lotgrid.desktop
    share/icons/hicolor/scalable/apps/org.lotgrid.Lotgrid.svg
    share/metainfo/org.lotgrid.Lotgrid.metainfo.xml)
foreach(path IN LISTS expected)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# Qt Charts and Qt Print Support come with the plugins, loaded on first use: the program starts without them.
execute_process(COMMAND readelf -d "${PREFIX}/bin/lotgrid" OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT dynamic MATCHES "libQt6Widgets")
    message(FATAL_ERROR "cannot read the libraries bin/lotgrid links (readelf, package binutils)")
endif()
if(dynamic MATCHES "libQt6Charts|libQt6PrintSupport")
    message(FATAL_ERROR "bin/lotgrid links Qt Charts or Qt Print Support, which its plugins should bring")
endif()

file(STRINGS "${PREFIX}/share/applications/org.lotgrid.Lotgrid.desktop" entry)
foreach(line "Exec=lotgrid" "Icon=org.lotgrid.Lotgrid" "Categories=Utility;")
    list(FIND entry "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
    message(FATAL_ERROR "desktop-file-validate and appstreamcli are needed (packages desktop-file-utils, appstream)")
endif()
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${PREFIX}/share/applications/org.lotgrid.Lotgrid.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop entry is not valid:\n${out}")
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${PREFIX}/share/metainfo/org.lotgrid.Lotgrid.metainfo.xml"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "AppStream metadata is not valid:\n${out}")
endif()
file(READ "${PREFIX}/share/icons/hicolor/scalable/apps/org.lotgrid.Lotgrid.svg" svg)
if(NOT svg MATCHES "<svg")
    message(FATAL_ERROR "icon is not an SVG picture")
endif()
