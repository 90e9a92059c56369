# The renderer and the surfaces, drawing into a real OpenGL context (label gl: run under xvfb-run).
zk_test(media_graphics_test SOURCES graphics_test.cpp graphics_surface_test.cpp LIBS zk_media LABELS gl)
