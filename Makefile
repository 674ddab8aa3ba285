# Two entry points: `make run` and `make test`. Both install any missing
# Debian packages first, so a fresh Debian 12 machine needs nothing else.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
# How long `make fuzz` runs; `make test` runs it for a bounded minute.
FUZZ_SECONDS ?= 600
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Compiles are cached where ccache is installed (make test installs it): a
# build directory made afresh, or another branch, costs only what changed.
# (Asked for when a recipe runs, after the packages are in.)
LAUNCHER = $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test suites build deps test-deps gl-zink asan fuzz format clean

# Builds just the game, not the tests and tools, before starting it.
run: deps
	cmake -S . -B $(BUILD_DIR) $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velorun
	./$(BUILD_DIR)/velorun

build:
	cmake -S . -B $(BUILD_DIR) $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	scripts/install-deps.sh runtime

test-deps:
	scripts/install-deps.sh test

# Every suite once: the unit and GL suites and the damaged sound and replay
# files under AddressSanitizer (with leak checking) and
# UndefinedBehaviorSanitizer; the unit, scenario, end-to-end, robustness,
# packaging and soak suites on the normal build, the one players get, and its
# GL suite on a second OpenGL implementation; and a minute of fuzzing the
# replay reader.
# Once the normal build is done, its suites, the sanitizer build with its
# suites, and the fuzzer run side by side. Each of the three prints its
# output in one piece as it ends (-O).
test: test-deps build
	$(MAKE) --no-print-directory -j3 -Otarget suites asan fuzz FUZZ_SECONDS=60

# The normal build's suites but those the sanitizer pass runs with the same
# checks: the GL suite (run here on zink instead) and the damaged sounds and
# replays. Twice as many tests as cores at a time: an end-to-end test spends
# much of its time in the X server and the image tools.
suites:
	scripts/with-xvfb.sh ctest --test-dir $(BUILD_DIR) --output-on-failure -j $$(($(JOBS) * 2)) -LE gl \
		-E '^bad_sound_and_replay_input$$'
	$(ZINK_SUITE)

# The GL suite on Mesa's zink over the lavapipe Vulkan driver.
ZINK_SUITE = scripts/with-xvfb.sh scripts/with-zink.sh ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) -L gl
gl-zink: test-deps build
	$(ZINK_SUITE)

SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

asan: test-deps
	cmake -S . -B $(ASAN_DIR) -DVELORUN_SANITIZE=ON -DVELORUN_BUILD_TOOLS=OFF $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) scripts/with-xvfb.sh ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -L sanitize

# libFuzzer on the replay reader for FUZZ_SECONDS, starting from the seed
# recordings; what it learns stays in $(FUZZ_DIR)/corpus for the next run, and
# an input that breaks the reader is left in $(FUZZ_DIR) and fails the run.
fuzz: test-deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DVELORUN_FUZZ=ON -DVELORUN_BUILD_TESTS=OFF -DVELORUN_BUILD_TOOLS=OFF $(LAUNCHER) $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target velorun-replay-fuzz
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/tools/fuzz/velorun-replay-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -print_final_stats=1 \
		-artifact_prefix=$(CURDIR)/$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus tests/fuzz/replay-seeds

# Lays out src/, tools/ and tests/ as .clang-format says; make test checks it.
format:
	scripts/check-format.sh --fix

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
