# The graphics module over a real renderer in an OpenGL context (label gl: run under xvfb-run).
zk_test(framework_graphics_test SOURCES graphics_test.cpp LIBS zk_framework LABELS gl audio)
