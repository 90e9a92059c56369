# tools/windows.cmake: the parts only the Windows build has, cross-built with the toolchain file
# tools/mingw-w64-x86_64.cmake (make windows). Included by the top CMakeLists before the source folders.
#
#   dependencies  GLFW (static), OpenAL Soft (OpenAL32.dll) and GoogleTest from tools/windows-deps.sh's cache
#   runtimes      the C, C++ and thread runtimes linked into every program: the game needs only Windows
#                 itself and OpenAL32.dll, which sits beside it
#   zk_data       the data folder, drawn by the generator built natively in native/ (it needs cairo); the
#                 same native build makes the test program that drives the game under Wine
#   zk_zip        package/tolvane-golf-VERSION-windows-x86_64.zip: game, DLL, data, read-me and licences
set(ZK_VERSION 1.0.0)

# ---- Dependencies ----

if(DEFINED ENV{XDG_CACHE_HOME})
  set(zk_cache_home $ENV{XDG_CACHE_HOME})
else()
  set(zk_cache_home $ENV{HOME}/.cache)
endif()
set(ZK_WINDOWS_DEPS ${zk_cache_home}/tolvane-golf/windows-x86_64 CACHE PATH
    "the cross-built libraries (tools/windows-deps.sh builds them there once per version)")
set(zk_glfw_dir ${ZK_WINDOWS_DEPS}/glfw-3.3.8)
set(zk_openal_dir ${ZK_WINDOWS_DEPS}/openal-soft-1.24.2)
file(GLOB zk_gtest_done ${ZK_WINDOWS_DEPS}/googletest-*/.complete)   # the tests' only
if(NOT EXISTS ${zk_glfw_dir}/.complete OR NOT EXISTS ${zk_openal_dir}/.complete OR (ZK_BUILD_TESTS AND NOT zk_gtest_done))
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/windows-deps.sh ${ZK_WINDOWS_DEPS} COMMAND_ERROR_IS_FATAL ANY)
endif()
find_package(glfw3 3.3.8 EXACT REQUIRED CONFIG PATHS ${zk_glfw_dir} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_package(OpenAL REQUIRED CONFIG PATHS ${zk_openal_dir} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
set(ZK_OPENAL_DLL ${zk_openal_dir}/bin/OpenAL32.dll)
# Under the names the Linux build's pkg-config lookups give them.
add_library(PkgConfig::GLFW INTERFACE IMPORTED)
target_link_libraries(PkgConfig::GLFW INTERFACE glfw)
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
target_link_libraries(PkgConfig::OPENAL INTERFACE OpenAL::OpenAL)

# stb is header-only C: Debian's copy serves. It gets a folder of its own so that no other Linux header
# is ever on the cross compiler's include path.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/include)
file(CREATE_LINK /usr/include/stb ${CMAKE_BINARY_DIR}/include/stb SYMBOLIC)
include_directories(SYSTEM ${CMAKE_BINARY_DIR}/include)
add_compile_definitions(_USE_MATH_DEFINES)   # M_PI, which strict C++ hides in mingw's math.h and glibc's not

# ---- Runtimes ----

add_link_options(-static)   # libgcc, libstdc++ and winpthread inside every program; system DLLs stay DLLs
# Nothing sizes a Windows program's stack at run time: the main thread's is fixed here, at the 8 MiB a
# Linux process starts with, so that deep recursion behaves alike.
add_link_options(-Wl,--stack,8388608)

# OpenAL32.dll beside the game, stripped (the debug information is most of its size), and beside the
# test programs, which run from tests/.
set(zk_dll_out ${CMAKE_BINARY_DIR}/OpenAL32.dll)
add_custom_command(OUTPUT ${zk_dll_out} ${CMAKE_BINARY_DIR}/tests/OpenAL32.dll
  COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${zk_dll_out} ${ZK_OPENAL_DLL}
  COMMAND ${CMAKE_COMMAND} -E copy ${zk_dll_out} ${CMAKE_BINARY_DIR}/tests/OpenAL32.dll
  DEPENDS ${ZK_OPENAL_DLL}
  VERBATIM)
add_custom_target(zk_openal_dll ALL DEPENDS ${zk_dll_out})

# ---- Data, and the native programs ----

include(ExternalProject)
set(ZK_NATIVE_DIR ${CMAKE_BINARY_DIR}/native)
# The same sources configured for this machine: the generator writes straight into our data folder, and
# the icons into native/icons. BUILD_ALWAYS: an edited generator redraws the data, as in the Linux build.
ExternalProject_Add(zk_native
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${ZK_NATIVE_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DZK_LAYERS=assets -DZK_BUILD_TESTS=OFF -DZK_DATA_DIR=${ZK_DATA_DIR}
             -DZK_WINE_DRIVER=${ZK_BUILD_TESTS}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${ZK_NATIVE_DIR}/icons/tolvane-golf.ico
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)
add_custom_target(zk_data ALL DEPENDS zk_native)
set(ZK_ICON_DIR ${ZK_NATIVE_DIR}/icons)

# ---- The zip a Windows player unpacks ----

# Built by make windows-package (target zk_zip, the file ZK_ZIP) from the game, the DLL, the data, the
# read-me and the licences of everything inside: ours, GLFW's, OpenAL Soft's (LGPL: its source comes
# along), the mingw-w64 and GCC runtimes' and stb's.
function(zk_windows_package)
  set(name tolvane-golf-${ZK_VERSION}-windows-x86_64)
  set(stage ${CMAKE_BINARY_DIR}/package/${name})
  set(zip ${CMAKE_BINARY_DIR}/package/${name}.zip)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows-readme.txt ${CMAKE_BINARY_DIR}/package/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  set(licences
    "${PROJECT_SOURCE_DIR}/packaging/copyright|Tolvane Golf.txt"
    "${zk_glfw_dir}/LICENSE.md|GLFW.txt"
    "${zk_openal_dir}/COPYING|OpenAL Soft.txt"
    "/usr/share/doc/mingw-w64-x86-64-dev/copyright|mingw-w64 runtime.txt"
    "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright|GCC runtime.txt"
    "/usr/share/doc/libstb-dev/copyright|stb.txt")
  set(copies "")
  foreach(pair ${licences})
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${from} "${stage}/licences/${to}")
  endforeach()
  file(GLOB openal_source ${zk_openal_dir}/source/*.tar.*)
  if(NOT openal_source)
    message(FATAL_ERROR "no OpenAL Soft source in ${zk_openal_dir}/source: run tools/windows-deps.sh")
  endif()
  # Made afresh each time it is asked for (make windows-package), from whatever the build holds then.
  add_custom_target(zk_zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licences
    COMMAND ${CMAKE_STRIP} -o ${stage}/tolvane-golf.exe $<TARGET_FILE:tolvane-golf>
    COMMAND ${CMAKE_COMMAND} -E copy ${zk_dll_out} ${CMAKE_BINARY_DIR}/package/README.txt ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${ZK_DATA_DIR} ${stage}/data
    ${copies}
    COMMAND ${CMAKE_COMMAND} -E copy ${openal_source} ${stage}/licences
    COMMAND zip -q -r -X ${zip} ${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/package
    COMMENT "Packing ${name}.zip"
    VERBATIM)
  add_dependencies(zk_zip tolvane-golf zk_data zk_openal_dll)
  set(ZK_ZIP ${zip} PARENT_SCOPE)
endfunction()
