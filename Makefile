# make run    installs what the game needs, builds the game, and starts it from build/
# make build  installs what the game needs and builds the game and its data (no tests)
# make check  installs what the tests need too, builds everything, runs the whole suite through ctest
# make test   make check, then the same suite built and run with the sanitizers and contracts on
# make package  builds the Debian package into build/package/ and has lintian check it
# make bench    builds and runs the benchmarks (bench/run.sh), figures for BENCHMARKS.md
# make fuzz   builds the fuzz targets with clang and libFuzzer, runs each for FUZZ_SECONDS
# make web    builds the page into build-web/ with emscripten (the data comes from build/)
# make check-web  builds the page and runs its tests in Debian's chromium (make check runs it too)
# make windows          cross-builds the game for Windows into build-windows/ (mingw-w64)
# make windows-package  build-windows/package/tolvane-golf-VERSION-windows-x86_64.zip, for a Windows player
# make check-windows    builds the Windows tests too and runs them under Wine (make check runs it last)
BUILD ?= build
WEB_BUILD ?= build-web
WIN_BUILD ?= build-windows
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = text_decode debugger wav ogg png text_layout saved_state
JOBS ?= $(shell nproc)
# Tests that need a display run in a private X server; audio goes to OpenAL Soft's null driver.
CTEST = xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null ctest --output-on-failure -j $(JOBS)

.PHONY: build run check test test-asan fuzz deps deps-test deps-web configure configure-game \
	clean package bench web check-web windows windows-package check-windows deps-windows configure-windows

# The packages the game needs to build and run, and those the tests, benchmarks, fuzzing and packaging
# add (tools/deps.sh holds the lists).
deps:
	@./tools/deps.sh game

deps-test:
	@./tools/deps.sh game test web windows

deps-web:
	@./tools/deps.sh game web

deps-windows:
	@./tools/deps.sh game windows

# A player's build: the game and its data. A build folder made by `make check` keeps its tests.
configure-game: deps
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) >/dev/null; \
	 else cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_TESTS=OFF >/dev/null; fi

configure: deps-test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_TESTS=ON >/dev/null

build: configure-game
	@cmake --build $(BUILD) -j $(JOBS)

# Only the game and its data: a player need not wait for the tests to build.
run: configure-game
	@cmake --build $(BUILD) -j $(JOBS) --target tolvane-golf
	cd $(BUILD) && ./tolvane-golf

check: configure
	@cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && $(CTEST)
	@$(MAKE) --no-print-directory check-web
	@$(MAKE) --no-print-directory check-windows

# The browser build: the same sources through Debian's emscripten, with the data the desktop build
# generates. Its linker runs Debian's node modules (acorn), which a node from elsewhere does not see.
WEB_ENV = NODE_PATH=/usr/share/nodejs
web: configure-game deps-web
	@cmake --build $(BUILD) -j $(JOBS) --target zk_data
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DZK_WEB_DATA=$(CURDIR)/$(BUILD)/data >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The page's tests drive chromium with playwright-core, pinned by tests/web/package-lock.json.
check-web: web tests/web/node_modules/.package-lock.json
	cd $(WEB_BUILD) && ctest --output-on-failure -L web

tests/web/node_modules/.package-lock.json: tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund

test: check
	@$(MAKE) --no-print-directory test-asan

# The same suites built with AddressSanitizer and UndefinedBehaviorSanitizer, contracts checked (a Debug
# build). System libraries' own allocations are left out of the leak report (tools/lsan.supp).
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:alloc_dealloc_mismatch=0 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp

test-asan: deps-test
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && env $(ASAN_ENV) $(CTEST)

# Only the game, its data and the package's files; lintian fails the target on an error, not on warnings.
package: configure
	@cmake --build $(BUILD) -j $(JOBS) --target zk_deb
	lintian --info $(BUILD)/package/tolvane-golf_*.deb

bench: configure
	@./bench/run.sh $(BUILD)

# Each target starts from its seed corpus (fuzz/corpus/<name>, read only) and keeps what it finds in
# $(FUZZ_BUILD)/corpus/<name>; an input that breaks a check is written to $(FUZZ_BUILD)/crash-<name>-*.
# Copy it into the seed corpus once mended: `make test` replays it from then on.
fuzz: deps-test
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_FUZZ=ON -DZK_BUILD_TESTS=OFF \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DZK_LAYERS="runtime;media;host;framework;game" >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=3 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/crash-$$t- $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# The Windows build: the same sources through mingw-w64 (tools/mingw-w64-x86_64.cmake). GLFW, OpenAL Soft
# and GoogleTest are cross-built once per version into a cache outside the clone (tools/windows-deps.sh);
# the data comes from the generator built natively inside build-windows/native. A player's build folder
# is configured without the tests; one made by check-windows keeps them.
WIN_CMAKE = cmake -S . -B $(WIN_BUILD) --toolchain tools/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure-windows: deps-windows
	@if [ -f $(WIN_BUILD)/CMakeCache.txt ]; then cmake -S . -B $(WIN_BUILD) >/dev/null; \
	 else $(WIN_CMAKE) -DZK_BUILD_TESTS=OFF >/dev/null; fi

windows: configure-windows
	@cmake --build $(WIN_BUILD) -j $(JOBS)

windows-package: windows
	@cmake --build $(WIN_BUILD) --target zk_zip
	@ls -l $(WIN_BUILD)/package/*.zip

# The tests cross-built and run under Wine in one Wine prefix made for the run (label wine), the real
# game among them in the X server that $(CTEST) starts.
check-windows: deps-test
	@$(WIN_CMAKE) -DZK_BUILD_TESTS=ON >/dev/null
	@cmake --build $(WIN_BUILD) -j $(JOBS)
	cd $(WIN_BUILD) && $(CTEST) -L wine

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD) $(WIN_BUILD)
