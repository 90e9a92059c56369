# make run    installs what is missing, builds, and starts the game from build/
# make check  installs what is missing, builds, runs the whole suite through ctest (the quick loop)
# make test   make check, then the same suite built and run with the sanitizers and contracts on
# make build  installs what is missing and builds
# make package  builds the Debian package into build/package/ and has lintian check it
# make bench    builds and runs the benchmarks (bench/run.sh), figures for BENCHMARKS.md
# make fuzz   builds the fuzz targets with clang and libFuzzer, runs each for FUZZ_SECONDS
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = text_decode debugger wav ogg png text_layout saved_state
JOBS ?= $(shell nproc)
# Tests that need a display run in a private X server; audio goes to OpenAL Soft's null driver.
CTEST = xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null ctest --output-on-failure -j $(JOBS)

.PHONY: build run check test test-asan fuzz soak kill-test deps configure clean package bench

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

check: build
	cd $(BUILD) && $(CTEST)

test: check
	@$(MAKE) --no-print-directory test-asan

# The same suites built with AddressSanitizer and UndefinedBehaviorSanitizer, contracts checked (a Debug
# build). System libraries' own allocations are left out of the leak report (tools/lsan.supp).
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:alloc_dealloc_mismatch=0 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp

test-asan: deps
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
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_FUZZ=ON -DZK_BUILD_TESTS=OFF \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DZK_LAYERS="runtime;media;host;framework;game" >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -close_fd_mask=3 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/crash-$$t- $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
