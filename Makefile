# Keyloom: the two commands of the README are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
FUZZ := build/fuzz
WIN := build/win
CMAKE_FLAGS ?=

.PHONY: all setup build native fuzz win run test test-native test-fuzz test-win clean

all: build

setup:
	@bash tools/setup.sh

build: native fuzz win

native:
	cmake -S . -B $(NATIVE) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

fuzz:
	cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKL_FUZZ=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)

win:
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN) -j $(JOBS)

run: setup win
	@bash tools/run-editor.sh $(WIN)

test: setup build
	@rc=0; \
	ctest --test-dir $(NATIVE) -j $(JOBS) --output-on-failure || rc=1; \
	ctest --test-dir $(FUZZ) -j $(JOBS) --output-on-failure || rc=1; \
	ctest --test-dir $(WIN) -j $(JOBS) --output-on-failure || rc=1; \
	exit $$rc

test-native: setup native
	ctest --test-dir $(NATIVE) -j $(JOBS) --output-on-failure
test-fuzz: setup fuzz
	ctest --test-dir $(FUZZ) -j $(JOBS) --output-on-failure
test-win: setup win
	ctest --test-dir $(WIN) -j $(JOBS) --output-on-failure

clean:
	rm -rf build
