# Fails, naming the files, when clang-format would change any C++ file of the project.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format is needed (package clang-format)")
endif()
file(GLOB_RECURSE sources
    "${SOURCE_DIR}/src/*.cpp" "${SOURCE_DIR}/src/*.h"
    "${SOURCE_DIR}/tests/*.cpp" "${SOURCE_DIR}/tests/*.h"
    "${SOURCE_DIR}/bench/*.cpp" "${SOURCE_DIR}/tools/*.cpp")
# One run over every file; only when it finds something, one run per file to name them.
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${sources}
                RESULT_VARIABLE all OUTPUT_QUIET ERROR_QUIET)
set(unformatted "")
if(NOT all EQUAL 0)
    foreach(file IN LISTS sources)
        execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror "${file}"
                        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
        if(NOT result EQUAL 0)
            list(APPEND unformatted "${file}")
        endif()
    endforeach()
endif()
if(unformatted)
    list(JOIN unformatted "\n  " list)
    message(FATAL_ERROR "not formatted with .clang-format (run clang-format -i on them):\n  ${list}")
endif()
