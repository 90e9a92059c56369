# make run    installs what is missing, builds, and starts the game from build/
# make check  installs what is missing, builds, runs the whole suite through ctest (the quick loop)
# make test   make check, then the same suite built and run with the sanitizers and contracts on
# make build  installs what is missing and builds
# make package  builds the Debian package into build/package/ and has lintian check it
# make bench    builds and runs the benchmarks (bench/run.sh), figures for BENCHMARKS.md
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
# Tests that need a display run in a private X server; audio goes to OpenAL Soft's null driver.
CTEST = xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null ctest --output-on-failure -j $(JOBS)

.PHONY: build run check test test-asan deps configure clean package bench

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
