# Builds the programs in Release in BUILD_DIR (configured there once, kept for
# the next run), the Debian package from them with that folder's CPack
# configuration, and checks it: its name, exactly the files it should hold,
# dependencies worked out from the linked libraries, and no error from lintian.
if(NOT EXISTS "${BUILD_DIR}/CMakeCache.txt")
    set(launcher "")
    if(LAUNCHER)
        set(launcher "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}")
    endif()
    # Installing builds only what is installed, not every target of the folder.
    execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BUILD_DIR}" -G "${GENERATOR}"
                            -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
                            ${launcher}
                    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT result EQUAL 0)
        file(REMOVE "${BUILD_DIR}/CMakeCache.txt")
        message(FATAL_ERROR "configuring the Release build failed:\n${out}")
    endif()
endif()
cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target ${PROGRAMS} -j ${cores}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "building the programs in Release failed:\n${out}")
endif()

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C.UTF-8
                        cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack -G DEB failed (dpkg-shlibdeps comes with the package dpkg-dev):\n${out}")
endif()
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
file(GLOB debs "${WORK}/*.deb")
if(NOT debs STREQUAL "${WORK}/lotgrid_${VERSION}_${arch}.deb")
    message(FATAL_ERROR "expected one package lotgrid_${VERSION}_${arch}.deb, found: ${debs}")
endif()

execute_process(COMMAND dpkg-deb --fsys-tarfile "${debs}" COMMAND tar -t
                OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\n" ";" entries "${listing}")
set(files "")
foreach(entry IN LISTS entries)
    if(entry MATCHES "^\\./(.*[^/])$")
        list(APPEND files "${CMAKE_MATCH_1}")
    endif()
endforeach()
set(expected
    usr/share/applications/org.lotgrid.Lotgrid.desktop
    usr/share/doc/lotgrid/changelog.gz
    usr/share/doc/lotgrid/copyright
    usr/share/icons/hicolor/scalable/apps/org.lotgrid.Lotgrid.svg
    usr/share/metainfo/org.lotgrid.Lotgrid.metainfo.xml)
foreach(program IN LISTS PROGRAMS)
    list(APPEND expected usr/bin/${program})
endforeach()
list(SORT files)
list(SORT expected)
if(NOT files STREQUAL expected)
    string(REPLACE ";" "\n  " files "${files}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "the package holds\n  ${files}\ninstead of\n  ${expected}")
endif()

# Every program links Qt and the C++ library; the SQLite driver is loaded, not
# linked; OpenCC (whose package brings its profiles) converts to Traditional.
execute_process(COMMAND dpkg-deb -f "${debs}" Depends OUTPUT_VARIABLE depends COMMAND_ERROR_IS_FATAL ANY)
foreach(package libc6 libstdc\\+\\+6 libqt6core6 libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libopencc1.1 libopencc-data)
    if(NOT depends MATCHES "(^|, )${package}( |,|$)")
        message(FATAL_ERROR "Depends lacks ${package}: ${depends}")
    endif()
endforeach()

find_program(LINTIAN lintian)
if(NOT LINTIAN)
    message(FATAL_ERROR "lintian is needed (package lintian)")
endif()
execute_process(COMMAND "${LINTIAN}" --allow-root "${debs}" OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(report MATCHES "(^|\n)E: ")
    message(FATAL_ERROR "lintian reports errors:\n${report}")
endif()
