# Front door: everything delegates to CMake and CTest in ./build.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench fuzz install deb clean

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

# Runs the store fuzzer for FUZZ_SECONDS; failing inputs are kept in tests/fuzz/regressions.
FUZZ_SECONDS ?= 600
fuzz: build
	tests/fuzz/run-fuzzer.sh $(BUILD)/fuzz/store_fuzzer $(FUZZ_SECONDS) $(BUILD)/assets $(BUILD)/fuzz-run --keep

bench: build
	cmake --build $(BUILD) --target bench

# make install [PREFIX=/usr] [DESTDIR=/tmp/stage]
install: configure
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

# Debian packages in $(BUILD)/deb (dpkg-buildpackage -us -uc -b on a copy of the tree).
deb:
	tools/build-debs.sh $(BUILD)/deb $(JOBS)

clean:
	rm -rf $(BUILD)
