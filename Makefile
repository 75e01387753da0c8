# Front door: everything delegates to CMake and CTest in ./build.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench fuzz install clean

all: build

deps:
	@tools/install-deps.sh

# ccache, when present, keeps rebuilds in fresh clones and worktrees short.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(LAUNCHER)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./kestrelby

test: build
	cd $(BUILD) && ctest --output-on-failure -j 1

# Runs the store fuzzer and the mission, scene and vehicle reader fuzzers for
# FUZZ_SECONDS each; failing inputs are kept in tests/fuzz/regressions.
FUZZ_SECONDS ?= 600
fuzz: build
	status=0; \
	tests/fuzz/run-fuzzer.sh $(BUILD)/fuzz/store_fuzzer $(FUZZ_SECONDS) $(BUILD)/assets $(BUILD)/fuzz-run --keep || status=1; \
	for target in mission scene vehicle; do \
	  tests/fuzz/run-fuzzer.sh $(BUILD)/fuzz/$${target}_fuzzer $(FUZZ_SECONDS) $(BUILD)/assets $(BUILD)/fuzz-run-$$target --keep || status=1; \
	done; \
	exit $$status

bench: build
	cmake --build $(BUILD) --target bench

# make install [PREFIX=/usr] [DESTDIR=/tmp/stage]
install: configure
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
