# The renderer and the collector against the peers a developer might pick instead: SDL2's renderer and
# the Boehm collector, from Debian's libsdl2-dev and libgc-dev. Benchmark only: nothing of the game links
# them. Needs a display and data/: cd build && xvfb-run -a bench/renderer_peer_bench (see each file).
find_package(PkgConfig REQUIRED)
pkg_check_modules(ZK_PEER_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(ZK_PEER_GC REQUIRED IMPORTED_TARGET bdw-gc)

add_executable(renderer_peer_bench renderer_peer_bench.cpp)
target_link_libraries(renderer_peer_bench PRIVATE zk_harness PkgConfig::ZK_PEER_SDL2)
set_target_properties(renderer_peer_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

add_executable(collector_peer_bench collector_peer_bench.cpp)
target_link_libraries(collector_peer_bench PRIVATE zk_harness PkgConfig::ZK_PEER_GC)
set_target_properties(collector_peer_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# The collector's allocation entry points, wrapped to record the sizes the game asks for.
target_link_options(collector_peer_bench PRIVATE -Wl,--wrap=_Z15gc_object_alloci
                    -Wl,--wrap=_ZN9gc_objectnwEm)
