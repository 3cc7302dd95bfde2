# Two builds that never mix:
#   make / make demo / make install : the Release library without sanitizers, in $(RELEASE)
#   make test                       : AddressSanitizer and UndefinedBehaviorSanitizer, in $(BUILD)
# make test installs what the build needs, configures, builds and runs every test (the CI command).
# make demo installs the Release build into $(RELEASE)/stage, builds examples/ against that package
# and runs the demo host; make install PREFIX=... installs it for good (default /usr/local).
BUILD ?= build
RELEASE ?= build-release
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
STAGE = $(abspath $(RELEASE))/stage

# make fuzz builds the libFuzzer targets with clang in build-fuzz/ and runs each reader family for
# FUZZ_SECONDS (default 600), FUZZ_PARALLEL families side by side (default 1); findings land in
# build-fuzz/findings/.
FUZZ_SECONDS ?= 600
FUZZ_PARALLEL ?= 1

.PHONY: all release test demo install bench fuzz deps configure build clean

all: release

deps:
	scripts/install-deps

# The sanitized test build.
configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Release library a host links.
release: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS)

install: release
	cmake --install $(RELEASE) --prefix $(PREFIX)

demo: release
	cmake --install $(RELEASE) --prefix $(STAGE)
	cmake -S examples -B $(RELEASE)/examples -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=$(STAGE)
	cmake --build $(RELEASE)/examples -j $(JOBS)
	mkdir -p $(RELEASE)/demo
	cd $(RELEASE) && ./examples/corvane_demo demo

# make bench builds bench/ in the Release build (with GDAL/OGR and GEOS as peers) and runs every
# program in $(RELEASE)/bench-run, printing the library's time against its peer's in the same run.
bench:
	scripts/install-deps bench
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j $(JOBS) --target benches
	scripts/run-benches $(RELEASE)

fuzz: deps
	JOBS=$(JOBS) FUZZ_PARALLEL=$(FUZZ_PARALLEL) scripts/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(RELEASE) build-fuzz
