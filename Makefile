# Two entry points: `make run` and `make test`. Both install any missing
# Debian packages first, so a fresh Debian 12 machine needs nothing else.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: run test build deps test-deps gl-zink asan format clean

# Builds just the game, not the tests and tools, before starting it.
run: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velorun
	./$(BUILD_DIR)/velorun

build:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	scripts/install-deps.sh runtime

test-deps:
	scripts/install-deps.sh test

# Every suite on the normal build, the GL suite again on a second OpenGL
# implementation, then the unit, GL and scenario suites again under
# AddressSanitizer (with leak checking) and UndefinedBehaviorSanitizer.
test: test-deps build
	scripts/with-xvfb.sh ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
	$(MAKE) gl-zink
	$(MAKE) asan

# The GL suite on Mesa's zink over the lavapipe Vulkan driver.
gl-zink: test-deps build
	scripts/with-xvfb.sh scripts/with-zink.sh ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) -L gl

SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

asan: test-deps
	cmake -S . -B $(ASAN_DIR) -DVELORUN_SANITIZE=ON -DVELORUN_BUILD_TOOLS=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	$(SANITIZER_ENV) scripts/with-xvfb.sh ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS) -L sanitize

# Lays out src/, tools/ and tests/ as .clang-format says; make test checks it.
format:
	scripts/check-format.sh --fix

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
