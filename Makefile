# Front door: everything delegates to CMake and CTest in ./build.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test test-asan soak bench fuzz install deb clean

all: build

deps:
	@tools/install-deps.sh

# ccache, when present, keeps rebuilds in fresh clones and worktrees short:
# paths below the checkout are hashed relative to it, so another clone hits.
LAUNCHER = $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(LAUNCHER)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./kestrelby

test: build
	cd $(BUILD) && ctest --output-on-failure -j 1

# The whole tree with AddressSanitizer and UndefinedBehaviorSanitizer in its
# own folder, then its CTest suite (a sample of the autoplay runs, the monkey).
ASAN_BUILD ?= build-asan
# The asset builders load pictures through Ogre's image codec, whose
# malloc/delete[] mismatch is not ours (see tests/CMakeLists.txt); the builders
# also leave Ogre's and Mesa's memory to the end of the process.
ASAN_BUILD_ENV = ASAN_OPTIONS=alloc_dealloc_mismatch=0:detect_leaks=0
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(LAUNCHER) -DKB_SANITIZE=ON
	$(ASAN_BUILD_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j 1

# make soak SECONDS=1800 [SEED=n]: one long monkey run in the sanitizer build.
SECONDS ?= 1800
SEED ?= 1
SOAK_ENV = ALSOFT_DRIVERS=null ALSOFT_LOGLEVEL=0 \
  ASAN_OPTIONS=alloc_dealloc_mismatch=0:detect_leaks=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
soak: deps
	cmake -S . -B $(ASAN_BUILD) $(LAUNCHER) -DKB_SANITIZE=ON
	$(ASAN_BUILD_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	$(SOAK_ENV) tools/with-display.sh bash tests/monkey/monkey.sh $(abspath $(ASAN_BUILD))/bin $(SECONDS) $(SEED)

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

# Debian packages in $(BUILD)/deb (dpkg-buildpackage -us -uc -b on a copy of the tree).
deb:
	tools/build-debs.sh $(BUILD)/deb $(JOBS)

clean:
	rm -rf $(BUILD)
