# Front door: everything delegates to CMake and CTest in ./build.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench install clean

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./kestrelby

test: build
	cd $(BUILD) && ctest --output-on-failure -j 1

bench: build
	cmake --build $(BUILD) --target bench

# make install [PREFIX=/usr] [DESTDIR=/tmp/stage]
install: configure
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
