# make        builds build/dist/墨舟.exe (installing what is missing first)
# make run    builds and starts the program under Wine
# make test   builds and runs every test: native unit tests, Windows tests and end-to-end tests
# make release  packs the built program into build/release/墨舟<version>.zip
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
JOBS ?= 2
ROOT := $(CURDIR)
BUILD := $(ROOT)/build
NATIVE := $(BUILD)/native
DIST := $(BUILD)/dist
PROGRAM := $(DIST)/墨舟.exe
PYTEST_ARGS ?=


.PHONY: all setup native windows windows64 release test-build run test unit-test win32-test e2e-test bench fuzz-build fuzz-smoke fuzz clean

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

# The archive that is published and that the updater unpacks over the program's folder: the
# program, the DLLs beside it and the notices, checked first.
release: windows
	@python3 tools/check-binaries.py --build $(BUILD)/win
	@python3 tools/make-release.py --dist $(DIST) --output-dir $(BUILD)/release

# The build the Windows tests run against on this machine (see tools/test-arch.sh).
test-build: windows
	@arch=$$(tools/test-arch.sh); \
	 if [ "$$arch" = x86_64 ]; then JOBS=$(JOBS) tools/build-windows.sh x86_64 $(BUILD)/win64 $(BUILD)/win64/dist; fi

# The 64-bit build of the two executables alone, so that the build check reads both
# architectures wherever the tests run.
windows64: native
	@MOZHOU_ARCHS="i686 x86_64" bash tools/setup.sh
	@JOBS=$(JOBS) TARGETS="mozhou_updater_shipped mozhou_updater_test mozhou mozhou_test_build" tools/build-windows.sh x86_64 $(BUILD)/win64 $(BUILD)/win64/dist

run: test-build
	@tools/run-program.sh

unit-test: native
	@cd $(NATIVE) && ctest --output-on-failure

win32-test: test-build windows64
	@tools/run-tests.sh win32

e2e-test: test-build windows64
	@tools/run-tests.sh e2e $(PYTEST_ARGS)

test: test-build windows64
	@python3 tools/check-imports.py
	@python3 tools/check-binaries.py
	@cd $(NATIVE) && ctest --output-on-failure
	@$(MAKE) --no-print-directory fuzz-smoke
	@tools/run-tests.sh all $(PYTEST_ARGS)

bench: test-build
	@tools/run-bench.sh

# libFuzzer targets (clang) for the portable byte handling: text chunking, the page setup file,
# the picture decoders (TIFF's apart: tiff_fuzz), clipboard bitmaps made into picture files, the updater's archives, and the
# update manifest, download address and command line. The picture, bitmap and archive seeds are
# written by the unit tests, the page setup's and the update check's here.
UPDATE_FUZZ := manifest download_address command_line
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
fuzz-build: native
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DMOZHOU_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
	@cmake --build $(FUZZ) --target text_fuzz page_setup_fuzz picture_fuzz tiff_fuzz dib_fuzz archive_fuzz $(UPDATE_FUZZ:%=%_fuzz) -j$(JOBS)
	@mkdir -p $(FUZZ)/corpus $(FUZZ)/page-setup-corpus $(FUZZ)/picture-corpus $(FUZZ)/tiff-corpus $(FUZZ)/dib-corpus $(FUZZ)/archive-corpus \
	    $(NATIVE)/fuzz-seeds $(NATIVE)/dib-seeds $(NATIVE)/archive-seeds $(UPDATE_FUZZ:%=$(FUZZ)/%-corpus)
	@printf '<?xml version="1.0" encoding="utf-8"?>\n<最新版本><版本信息 版本号="３．3" 升级说明="修正 &amp; &#x4E00;" 下载地址="http://h/a.zip" 文件标题="t" 文件名="a.zip" sha256="%s" size="10"/></最新版本>' $$(printf 'ab%.0s' $$(seq 32)) > $(FUZZ)/manifest-corpus/seed.xml
	@printf '墨舟页面设置 1\nmarginLeft=100\nmarginTop=0\nmarginRight=0\nmarginBottom=0\nheader.left=&f\nheader.centre=a\\\\n\nheader.right=\nfooter.left=\nfooter.centre=第 &p 页\nfooter.right=\nlineNumbers=1\nlandscape=0\npaperSize=9\n' > $(FUZZ)/page-setup-corpus/seed
	@printf 'http://127.0.0.1:47613/%%E4%%B8%%8B%%E8%%BD%%BD/a%%20b.zip' > $(FUZZ)/download_address-corpus/seed
	@printf '"\0C\0:\0\\\0u\0.\0e\0x\0e\0"\0 \0a\0\\\0"\0b\0 \0"\0c\0 \0d\0"\0\1\0x\0' > $(FUZZ)/command_line-corpus/seed

# A few seconds of each, as part of the tests.
fuzz-smoke: fuzz-build
	@$(FUZZ)/fuzz/text_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/corpus 2> $(FUZZ)/text_fuzz.log || { tail -30 $(FUZZ)/text_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/page_setup_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/page-setup-corpus 2> $(FUZZ)/page_setup_fuzz.log || { tail -30 $(FUZZ)/page_setup_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/picture_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/picture-corpus $(NATIVE)/fuzz-seeds 2> $(FUZZ)/picture_fuzz.log || { tail -30 $(FUZZ)/picture_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/tiff_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/tiff-corpus $(NATIVE)/fuzz-seeds 2> $(FUZZ)/tiff_fuzz.log || { tail -30 $(FUZZ)/tiff_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/dib_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/dib-corpus $(NATIVE)/dib-seeds 2> $(FUZZ)/dib_fuzz.log || { tail -30 $(FUZZ)/dib_fuzz.log; exit 1; }
	@$(FUZZ)/fuzz/archive_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/archive-corpus $(NATIVE)/archive-seeds 2> $(FUZZ)/archive_fuzz.log || { tail -30 $(FUZZ)/archive_fuzz.log; exit 1; }
	@for target in $(UPDATE_FUZZ); do $(FUZZ)/fuzz/$${target}_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=5 $(FUZZ)/$$target-corpus 2> $(FUZZ)/$${target}_fuzz.log || { tail -30 $(FUZZ)/$${target}_fuzz.log; exit 1; }; done
	@echo "fuzzing: 5 s each of text_fuzz, page_setup_fuzz, picture_fuzz, tiff_fuzz, dib_fuzz, archive_fuzz and $(UPDATE_FUZZ:%=%_fuzz), no failure"

# A minute of each (FUZZ_SECONDS).
fuzz: fuzz-build
	@$(FUZZ)/fuzz/text_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/corpus
	@$(FUZZ)/fuzz/page_setup_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/page-setup-corpus
	@$(FUZZ)/fuzz/picture_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/picture-corpus $(NATIVE)/fuzz-seeds
	@$(FUZZ)/fuzz/tiff_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/tiff-corpus $(NATIVE)/fuzz-seeds
	@$(FUZZ)/fuzz/dib_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/dib-corpus $(NATIVE)/dib-seeds
	@$(FUZZ)/fuzz/archive_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/archive-corpus $(NATIVE)/archive-seeds
	@for target in $(UPDATE_FUZZ); do $(FUZZ)/fuzz/$${target}_fuzz -artifact_prefix=$(FUZZ)/ -max_total_time=$(FUZZ_SECONDS) $(FUZZ)/$$target-corpus || exit 1; done

clean:
	rm -rf $(BUILD)
