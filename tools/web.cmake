# tools/web.cmake: the browser build (configured with emcmake; `make web` builds it into build-web/).
#
# The same sources as the desktop build. The libraries the desktop finds with pkg-config come with
# emscripten here, chosen by link flags on targets of the same names: GLFW 3 (its 3.2 API), OpenGL 1.x
# through emscripten's fixed-function emulation over WebGL, and OpenAL over Web Audio. The art and sounds
# are not generated here (the generator needs cairo and libvorbis on the build machine): ZK_WEB_DATA names
# a data folder made by a desktop build, packed beside the page. No threads: the page needs no
# cross-origin isolation.
set(ZK_WEB_DATA "" CACHE PATH "the data folder a desktop build generated, packed into the page")
if(NOT EXISTS "${ZK_WEB_DATA}/gfx.png")
  message(FATAL_ERROR "ZK_WEB_DATA must name a generated data folder (make web generates build/data)")
endif()

# The folders a page needs; the data generator, tests and benchmarks are desktop programs.
set(ZK_LAYERS runtime codecs host media framework game main CACHE STRING "source folders to build" FORCE)
set(ZK_BUILD_TESTS OFF CACHE BOOL "" FORCE)

add_library(PkgConfig::GLFW INTERFACE IMPORTED)
target_link_options(PkgConfig::GLFW INTERFACE -sUSE_GLFW=3)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE -sLEGACY_GL_EMULATION=1)
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
target_link_options(PkgConfig::OPENAL INTERFACE -lopenal)
add_library(Threads::Threads INTERFACE IMPORTED)   # the tune is decoded on the main thread here

# The code includes stb as <stb/...>: a folder of our own holds a link named stb to Debian's headers
# (never /usr/include itself, whose C library headers are not emscripten's).
set(ZK_WEB_STB ${CMAKE_BINARY_DIR}/stb-include)
file(MAKE_DIRECTORY ${ZK_WEB_STB})
file(CREATE_LINK /usr/include/stb ${ZK_WEB_STB}/stb SYMBOLIC)
include_directories(SYSTEM ${ZK_WEB_STB})

# The host catches the runtime's throwable around every call into the game; emscripten leaves catching
# out unless asked.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
