# make test : install what the build needs, configure, build, run every test.
# make demo : the same set-up, then run the example host.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: test demo deps configure build clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	mkdir -p $(BUILD)/demo
	cd $(BUILD) && ./bin/corvane_demo demo

clean:
	rm -rf $(BUILD)
