# make        builds build/dist/墨舟.exe (installing what is missing first)
# make run    builds and starts the program under Wine
# make test   builds and runs every test: native unit tests, Windows tests and end-to-end tests
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
JOBS ?= 2
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
NATIVE := $(BUILD)/native
WIN := $(BUILD)/win
DIST := $(BUILD)/dist
PROGRAM := $(DIST)/墨舟.exe
DEPS := $(ROOT)/.cache/deps/i686
PYTEST := /usr/bin/python3 -m pytest

.PHONY: all setup native windows run test unit-test win32-test e2e-test bench clean

all: windows

setup:
	@bash tools/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

windows: native
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/toolchain-i686-mingw.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DMOZHOU_ASSETS_DIR=$(NATIVE)/assets -DMOZHOU_DIST_DIR=$(DIST) \
	    -DGTest_DIR=$(DEPS)/lib/cmake/GTest > /dev/null
	@cmake --build $(WIN) -j$(JOBS)
	@echo "built $(PROGRAM)"

run: windows
	@eval "$$(tools/harness.sh up --display-from-env)"; \
	 cd $(DIST) && wine ./墨舟.exe

unit-test: native
	@cd $(NATIVE) && ctest --output-on-failure

win32-test: windows
	@eval "$$(tools/harness.sh up)"; \
	 cd $(WIN)/tests/win32 && wine ./win32_tests.exe

e2e-test: windows
	@eval "$$(tools/harness.sh up)"; \
	 MOZHOU_EXE=$(PROGRAM) MOZHOU_REQUIRE_EXE=1 \
	 E2E_DRIVER_EXE=$(WIN)/tests/e2e/driver/e2e-driver.exe \
	 $(PYTEST) -q tests/e2e $(PYTEST_ARGS)

# The whole suite; the environment it started is stopped again even when a layer fails.
test: windows
	@cd $(NATIVE) && ctest --output-on-failure
	@status=0; eval "$$(tools/harness.sh up)"; \
	 (cd $(WIN)/tests/win32 && wine ./win32_tests.exe) || status=1; \
	 MOZHOU_EXE=$(PROGRAM) MOZHOU_REQUIRE_EXE=1 \
	 E2E_DRIVER_EXE=$(WIN)/tests/e2e/driver/e2e-driver.exe \
	 $(PYTEST) -q tests/e2e $(PYTEST_ARGS) || status=1; \
	 tools/harness.sh down > /dev/null || true; \
	 exit $$status

bench: windows
	@eval "$$(tools/harness.sh up)"; \
	 rm -rf $(BUILD)/bench-tmp && mkdir -p $(BUILD)/bench-tmp && cp $(PROGRAM) $(BUILD)/bench-tmp/; \
	 cd $(WIN)/bench && wine ./bench_startup.exe "$$(winepath -w $(BUILD)/bench-tmp/墨舟.exe)" 10

clean:
	rm -rf $(BUILD)
