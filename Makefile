# make run    installs what is missing, builds, and starts the game from build/
# make test   installs what is missing, builds, runs the whole suite through ctest, then the sanitizer build
# make build  installs what is missing and builds
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
# Tests that need a display run in a private X server; audio goes to OpenAL Soft's null driver.
CTEST = xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null ctest --output-on-failure -j $(JOBS)

.PHONY: build run test test-asan soak kill-test deps configure clean

deps:
	@./tools/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the game and its data: a player need not wait for the tests to build.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tolvane-golf
	cd $(BUILD) && ./tolvane-golf

test: build
	cd $(BUILD) && $(CTEST)
	@$(MAKE) --no-print-directory test-asan

# The same suites built with AddressSanitizer and UndefinedBehaviorSanitizer. System libraries' own
# allocations are left out of the leak report (tools/lsan.supp).
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:alloc_dealloc_mismatch=0 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DZK_LAYERS="runtime;media;host;framework;game;assets" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && env $(ASAN_ENV) $(CTEST)

# An hour of game clock (216,000 updates) played by the soak test's scripted player, as fast as the
# machine renders; it prints the memory figures of every round.
soak: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null SOAK_FRAMES=216000 \
		./tests/game_soak_test

# A thousand kills of the real game while it saves over and over (make test runs 200).
kill-test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null CRASH_KILLS=1000 \
		./tests/game_crash_save_test

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
