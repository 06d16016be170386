# make        builds build/dist/墨舟.exe (installing what is missing first)
# make run    builds and starts the program under Wine
# make test   builds and runs every test: native unit tests, Windows tests and end-to-end tests
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
JOBS ?= 2
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
NATIVE := $(BUILD)/native
DIST := $(BUILD)/dist
PROGRAM := $(DIST)/墨舟.exe
PYTEST_ARGS ?=


.PHONY: all setup native windows test-build run test unit-test win32-test e2e-test bench fuzz-build fuzz-smoke fuzz clean

all: windows

setup:
	@bash tools/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

# The program as shipped: 32-bit.
windows: native
	@JOBS=$(JOBS) tools/build-windows.sh i686 $(BUILD)/win $(DIST)
	@echo "built $(PROGRAM)"

# The build the Windows tests run against on this machine (see tools/test-arch.sh).
test-build: windows
	@arch=$$(tools/test-arch.sh); \
	 if [ "$$arch" = x86_64 ]; then JOBS=$(JOBS) tools/build-windows.sh x86_64 $(BUILD)/win64 $(BUILD)/win64/dist; fi

run: test-build
	@tools/run-program.sh

unit-test: native
	@cd $(NATIVE) && ctest --output-on-failure

win32-test: test-build
	@tools/run-tests.sh win32

e2e-test: test-build
	@tools/run-tests.sh e2e $(PYTEST_ARGS)

test: test-build
	@python3 tools/check-imports.py
	@cd $(NATIVE) && ctest --output-on-failure
	@$(MAKE) --no-print-directory fuzz-smoke
	@tools/run-tests.sh all $(PYTEST_ARGS)

bench: test-build
	@tools/run-bench.sh

# libFuzzer targets (clang) for the portable byte handling: text chunking, the picture
# decoders, clipboard bitmaps made into picture files and the updater's archives. The picture,
# bitmap and archive seeds are written by the unit tests.
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
fuzz-build: native
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DMOZHOU_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build $(FUZZ) --target text_fuzz picture_fuzz dib_fuzz archive_fuzz -j$(JOBS)
	@mkdir -p $(FUZZ)/corpus $(FUZZ)/picture-corpus $(FUZZ)/dib-corpus $(FUZZ)/archive-corpus \
	    $(NATIVE)/fuzz-seeds $(NATIVE)/dib-seeds $(NATIVE)/archive-seeds

# A few seconds of each, as part of the tests.
fuzz-smoke: fuzz-build
	@$(FUZZ)/fuzz/text_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/corpus 2> $(FUZZ)/text_fuzz.log || { tail -30 $(FUZZ)/text_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/picture_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/picture-corpus $(NATIVE)/fuzz-seeds 2> $(FUZZ)/picture_fuzz.log || { tail -30 $(FUZZ)/picture_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/dib_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/dib-corpus $(NATIVE)/dib-seeds 2> $(FUZZ)/dib_fuzz.log || { tail -30 $(FUZZ)/dib_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/archive_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/archive-corpus $(NATIVE)/archive-seeds 2> $(FUZZ)/archive_fuzz.log || { tail -30 $(FUZZ)/archive_fuzz.log; exit 1; }
	@echo "fuzzing: 5 s each of text_fuzz, picture_fuzz, dib_fuzz and archive_fuzz, no failure"

# A minute of each (FUZZ_SECONDS).
fuzz: fuzz-build
	@$(FUZZ)/fuzz/text_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/corpus
	@$(FUZZ)/fuzz/picture_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/picture-corpus $(NATIVE)/fuzz-seeds
	@$(FUZZ)/fuzz/dib_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/dib-corpus $(NATIVE)/dib-seeds
	@$(FUZZ)/fuzz/archive_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/archive-corpus $(NATIVE)/archive-seeds

clean:
	rm -rf $(BUILD)
