# make run   installs what is missing, builds, and starts the game from build/
# make test  installs what is missing, builds, and runs the whole suite through ctest
# make build installs what is missing and builds
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: build run test deps configure clean

deps:
	@./tools/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./tolvane-golf

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null \
		ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
