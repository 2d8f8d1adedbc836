# Thin wrapper over the CMake presets. `make run` and `make test` install what
# they need first.
.PHONY: deps build run test asan fuzz bench install clean

PREFIX ?= /usr/local

deps:
	./tools/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	./build/default/src/app/timer

test: build
	ctest --preset default

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

bench: build
	./build/default/bench/tick_benchmark

install: build
	cmake --install build/default --prefix $(PREFIX)

clean:
	rm -rf build
