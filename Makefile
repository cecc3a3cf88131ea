# Convenience wrapper around CMake. `make demo` builds only what the demo needs
# (module, simulator, demo and its configuration) and runs the main job;
# `make test` builds the rest and runs the whole test suite. Both install the
# Debian packages first. `make docs` builds the API reference into
# $(BUILD)/docs/html. `make packages` builds the Debian packages into dist/
# from a build folder of their own (docs/packages.md: installing them).
BUILD ?= build
JOBS ?= $(shell nproc)
# One test more than cores: most tests wait on simulated cameras. Those that
# need the processor to themselves say so (RUN_SERIAL, PROCESSORS).
TEST_JOBS ?= $(shell expr $(JOBS) + 1)

.PHONY: deps configure build demo test bench docs packages install clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: configure
	@cmake --build $(BUILD) -j $(JOBS) --target nimbrel-demo
	$(BUILD)/bin/nimbrel-demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(TEST_JOBS)

bench: build
	bash scripts/bench-report $(BUILD)

docs: deps
	bash scripts/build-docs $(BUILD)/docs

packages: deps
	bash scripts/build-packages dist

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf $(BUILD)
