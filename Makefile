# make demo: install what is missing, build, start the program on the simulated board.
# make test: install what is missing, build, run every test.
.PHONY: all bootstrap build demo test bench screenshots clean

all: build

bootstrap:
	bash scripts/bootstrap.sh

build: bootstrap
	cmake --preset default
	cmake --build --preset default

demo: build
	./build/tolvane-demo

test: build
	ctest --preset default

bench: build
	./build/bench/tolvane-bench

# Saves the pictures the tests take of the windows into build/screenshots, for a person to look at.
screenshots: build
	TOLVANE_SCREENSHOT_DIR=$(CURDIR)/build/screenshots ctest --preset default -R Screenshot

clean:
	rm -rf build
