# make demo: install what is missing, build, start the program on the simulated board.
# make test: install what is missing, build, run every test.
# make package: the Debian package, in build/.
# make sanitize: the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/).
# make format-check: the sources follow .clang-format; make format rewrites them so they do.
# make test-ratio: the tests' share of all lines, at most 35 %.
# make bench: the benchmarks; make screenshots: pictures of the windows in build/screenshots.
# WERROR=ON (as CI passes it) turns compiler warnings into errors: make test WERROR=ON
.PHONY: all bootstrap build demo test test-ratio bench screenshots docs-screenshots icons package sanitize format-check format clean

WERROR ?= OFF
FORMAT_FILES = $(shell find $(wildcard src sim python tests bench demo tools) \( -name '*.h' -o -name '*.cpp' \) -print | sort)

all: build

bootstrap:
	bash scripts/bootstrap.sh

build: bootstrap
	cmake --preset default -DTOLVANE_WERROR=$(WERROR)
	cmake --build --preset default

demo: build
	./build/tolvane-demo

test: build
	ctest --preset default

# The tests' share of all lines (the programs' C++ and the tests' C++, shell and Python; benchmarks and
# tools not counted): at most 35 %, so that the suite stays a set of tests that each catch something.
test-ratio:
	@tests=$$(find tests \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' \) -exec cat {} + | wc -l); \
	code=$$(find src sim demo python \( -name '*.cpp' -o -name '*.h' \) -exec cat {} + | wc -l); \
	percent=$$((100 * tests / (tests + code))); \
	echo "tests: $$tests lines, program: $$code lines, tests $$percent % of all (at most 35 %)"; \
	[ $$((100 * tests)) -le $$((35 * (tests + code))) ]

# The processor share of a run is measured where the windows really paint: on an X server (Xvfb).
bench: build
	./build/bench/tolvane-bench --benchmark_filter=-Processor
	/usr/bin/python3 bench/bench_python.py build
	xvfb-run -a -s "-screen 0 1920x1080x24" env QT_QPA_PLATFORM=xcb ./build/bench/tolvane-bench --benchmark_filter=Processor

# Saves pictures of the windows into build/screenshots, for a person to look at.
screenshots: build
	./build/tools/screenshots/tolvane-screenshots build/screenshots

# The Debian package (build/tolvane_<version>_<arch>.deb): the programs, the udev rule, the menu
# entries, the icon and the metainfo, depending on the runtime libraries the programs link.
package: build
	cmake --build --preset default --target package

# Refreshes the pictures the README shows: docs/panel.png, the panel collecting on the simulated board,
# and docs/view.png, the history view over such a run, as tools/screenshots takes them.
docs-screenshots: screenshots
	mkdir -p docs
	cp build/screenshots/panel_collecting.png docs/panel.png
	cp build/screenshots/view_run.png docs/view.png

# Renders the icon's PNG sizes from packaging/tolvane.svg (needs rsvg-convert: package librsvg2-bin).
icons:
	for size in 32 48 64 128 256; do \
	  rsvg-convert -w $$size -h $$size packaging/tolvane.svg -o packaging/icons/tolvane-$$size.png; \
	done

sanitize: bootstrap
	cmake --preset asan -DTOLVANE_WERROR=$(WERROR)
	cmake --build --preset asan
	ctest --preset asan

format-check: bootstrap
	@echo "clang-format --dry-run --Werror: $(words $(FORMAT_FILES)) files"
	@clang-format --dry-run --Werror $(FORMAT_FILES)

format: bootstrap
	@echo "clang-format -i: $(words $(FORMAT_FILES)) files"
	@clang-format -i $(FORMAT_FILES)

clean:
	rm -rf build build-asan
