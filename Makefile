# Front door: make run | build | test | bench | ansi-oracle | fuzz | dist | install | uninstall | format
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
VERSION := 0.8.8-beta
SAMPLE ?= samples/quillpane.nfo
# Beside the repository, or beside the one a clean clone was made from.
CORPUS ?= $(firstword $(wildcard ../shared/corpus $(shell git config --get remote.origin.url 2>/dev/null)/../shared/corpus))
# The Windows tests run the 32-bit program where 32-bit Wine can start, and
# a 64-bit build of the same sources where the kernel lacks IA-32 emulation.
# Decided when a recipe runs, after bootstrap has installed Wine.
TEST_ARCH = $$(scripts/wine-session arch)

.PHONY: all bootstrap build native wintest test run bench ansi-oracle fuzz dist install uninstall format clean

all: build

bootstrap:
	@scripts/bootstrap

# The product: build/win32/quillpane.exe, 32-bit, statically linked.
build: bootstrap
	@scripts/configure win32
	cmake --build build/win32 -j $(JOBS)

native: bootstrap
	@[ -f $(NATIVE)/Makefile ] || cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE) -j $(JOBS)

wintest: build
	@arch=$(TEST_ARCH); scripts/configure $$arch && cmake --build build/$$arch -j $(JOBS)

test: native wintest
	ctest --test-dir $(NATIVE) --output-on-failure
	@arch=$(TEST_ARCH); echo "Windows tests: the $$arch build under Wine"; \
	  ctest --test-dir build/$$arch --output-on-failure

run: wintest
	@arch=$(TEST_ARCH); scripts/run-viewer build/$$arch/quillpane.exe $(SAMPLE)

bench: wintest
	@[ -f build/bench/Makefile ] || cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DQP_SANITIZE=OFF
	cmake --build build/bench -j $(JOBS) --target layout_benchmark ansi_benchmark png_writer_benchmark quillpane_export
	build/bench/layout_benchmark --benchmark_min_time=0.5
	@echo "ANSI colour mode, native:"; build/bench/ansi_benchmark
	build/bench/png_writer_benchmark
	bench/native_export_bench.sh build/bench/quillpane-export $(CORPUS)
	bench/zip_export_bench.sh build/bench/quillpane-export $(CORPUS)
	@# The whole corpus as one pack, deflated, its folders kept.
	rm -f build/bench/corpus-window.zip && cd $(CORPUS) && zip -q -r $(CURDIR)/build/bench/corpus-window.zip .
	@arch=$(TEST_ARCH); scripts/wine-session start build/bench/wine-session && \
	  { scripts/wine-session exec build/bench/wine-session wine build/$$arch/render_benchmark.exe && \
	    echo "ANSI colour mode, under Wine:" && \
	    scripts/wine-session exec build/bench/wine-session wine build/$$arch/ansi_benchmark.exe && \
	    scripts/wine-session exec build/bench/wine-session wine build/$$arch/browse_benchmark.exe && \
	    scripts/wine-session exec build/bench/wine-session wine build/$$arch/zip_benchmark.exe build/bench/corpus-window.zip && \
	    scripts/wine-session exec build/bench/wine-session wine build/$$arch/gallery_benchmark.exe build/bench/corpus-window.zip && \
	    scripts/wine-session exec build/bench/wine-session bash bench/png_export_bench.sh \
	      build/$$arch/quillpane.exe build/$$arch/png_export_benchmark.exe $(CORPUS); \
	    status=$$?; scripts/wine-session stop build/bench/wine-session; exit $$status; }

# The ANSI colour mode against Debian's ansilove, cell by cell, over every
# .ans file of the corpus: one line a file and the total; then in 9-pixel cells.
ansi-oracle: native
	$(NATIVE)/ansi_oracle $(CORPUS)
	$(NATIVE)/ansi_oracle --letters 9 $(CORPUS)

FUZZ_SECONDS ?= 60
fuzz: bootstrap
	@[ -f build/fuzz/Makefile ] || CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQP_FUZZ=ON
	cmake --build build/fuzz -j $(JOBS)
	mkdir -p build/fuzz/corpus-command-line build/fuzz/corpus-layout build/fuzz/corpus-ansi build/fuzz/corpus-formats build/fuzz/corpus-bbs \
	  build/fuzz/corpus-zip
	build/fuzz/command_line_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=1024 build/fuzz/corpus-command-line fuzz/seeds/command_line
	build/fuzz/layout_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/corpus-layout fuzz/seeds/layout
	build/fuzz/ansi_screen_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/corpus-ansi fuzz/seeds/ansi
	build/fuzz/scene_formats_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=16384 build/fuzz/corpus-formats fuzz/seeds/formats
	build/fuzz/bbs_formats_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/corpus-bbs fuzz/seeds/bbs
	build/fuzz/zip_pack_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=16384 build/fuzz/corpus-zip fuzz/seeds/zip

dist: build
	rm -rf build/dist && mkdir -p build/dist/quillpane dist
	cp build/win32/quillpane.exe README.md LICENSE src/resources/GLYPHS-LICENCE.md src/resources/THIRD-PARTY.md \
	  build/dist/quillpane/
	cp -r samples build/dist/quillpane/samples
	cp -r build/win32/fonts build/dist/quillpane/fonts
	rm -f dist/quillpane-$(VERSION)-win32.zip
	cd build/dist && zip -qr ../../dist/quillpane-$(VERSION)-win32.zip quillpane
	@echo "dist/quillpane-$(VERSION)-win32.zip"

# A Linux desktop: the program under Wine through the `quillpane` launcher,
# with a desktop entry, an icon and the file types, the native exporter and
# its thumbnailer, and the launcher's Wine prefix made ready. DESTDIR
# stages; DEFAULT=1 takes over types other applications already own.
# Uninstall keeps that prefix (the settings) unless PURGE=1.
PREFIX ?= $(HOME)/.local
install: build
	@PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" DEFAULT="$(DEFAULT)" JOBS="$(JOBS)" src/linux/install.sh install

uninstall:
	@PREFIX="$(PREFIX)" DESTDIR="$(DESTDIR)" PURGE="$(PURGE)" src/linux/install.sh uninstall

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist
