# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
#   cmake --build build-windows --target lotgrid-chart
# Qt for Windows is not at hand on Linux, so this builds the engine and
# lotgrid-chart.exe only (LOTGRID_ENGINE_ONLY). The program is linked statically:
# the .exe needs no MinGW runtime DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The POSIX thread model: the one whose libstdc++ has std::thread and std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(LOTGRID_ENGINE_ONLY ON CACHE BOOL "Build only the engine libraries and lotgrid-chart, without Qt" FORCE)

# nlohmann/json and RapidJSON are headers only, so the host's copies (Debian:
# nlohmann-json3-dev, rapidjson-dev) serve Windows too. They are copied (the
# first with its CMake package) into a prefix of their own under the build
# folder: pointing the compiler at /usr/include would bring every other Linux
# header with them.
set(LOTGRID_HOST_JSON_PREFIX /usr CACHE PATH "Prefix of the host's nlohmann/json and RapidJSON (include/nlohmann, include/rapidjson, share/cmake/nlohmann_json)")
if(NOT CMAKE_IN_TRY_COMPILE AND EXISTS ${LOTGRID_HOST_JSON_PREFIX}/include/nlohmann/json.hpp)
    set(_lotgrid_json ${CMAKE_BINARY_DIR}/host-json)
    if(NOT EXISTS ${_lotgrid_json}/include/nlohmann/json.hpp)
        file(COPY ${LOTGRID_HOST_JSON_PREFIX}/include/nlohmann DESTINATION ${_lotgrid_json}/include)
        file(COPY ${LOTGRID_HOST_JSON_PREFIX}/share/cmake/nlohmann_json DESTINATION ${_lotgrid_json}/share/cmake)
    endif()
    if(NOT EXISTS ${_lotgrid_json}/include/rapidjson/writer.h
       AND EXISTS ${LOTGRID_HOST_JSON_PREFIX}/include/rapidjson/writer.h)
        file(COPY ${LOTGRID_HOST_JSON_PREFIX}/include/rapidjson DESTINATION ${_lotgrid_json}/include)
    endif()
    list(APPEND CMAKE_FIND_ROOT_PATH ${_lotgrid_json})
endif()
