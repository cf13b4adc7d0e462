# Compiles every file of the Windows backends (the platform layer and the data layer's file
# system calls) with the mingw-w64 cross compiler (syntax and
# types, warnings as errors) and the resource script with its resource compiler.
if(NOT CXX OR NOT WINDRES)
    message(FATAL_ERROR "x86_64-w64-mingw32-g++ / -windres not found: run tools/install-deps.sh")
endif()
file(GLOB sources ${SOURCE_DIR}/src/app/platform/win32/*.cpp ${SOURCE_DIR}/src/app/platform/win32/*.h)
if(NOT sources)
    message(FATAL_ERROR "no files in src/app/platform/win32")
endif()
# The data layer's file system backend, with the header and the error category it uses.
file(GLOB data_sources ${SOURCE_DIR}/src/data/system/win32/*.cpp ${SOURCE_DIR}/src/data/system/*.h
                       ${SOURCE_DIR}/src/data/system/*.cpp)
if(NOT data_sources)
    message(FATAL_ERROR "no files in src/data/system/win32")
endif()
list(APPEND sources ${data_sources})
file(MAKE_DIRECTORY ${WORK_DIR})
foreach(source IN LISTS sources)
    set(unit ${source})
    if(source MATCHES "\\.h$")
        # A header on its own must compile too: include it from an otherwise empty unit.
        get_filename_component(name ${source} NAME_WE)
        set(unit ${WORK_DIR}/${name}_alone.cpp)
        file(WRITE ${unit} "#include \"${source}\"\n")
    endif()
    execute_process(COMMAND ${CXX} -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I${SOURCE_DIR}/src ${unit}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "does not compile for Windows: ${source}")
    endif()
    message(STATUS "compiles for Windows: ${source}")
endforeach()
execute_process(COMMAND ${WINDRES} ${RC_FILE} -O coff -o ${WORK_DIR}/velmora-cindral-rc.o RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "resource script does not compile: ${RC_FILE}")
endif()
message(STATUS "resource script compiles: ${RC_FILE}")
