# Keyloom: the two commands of the README are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
FUZZ := build/fuzz
WIN := build/win
WIN64 := build/win64
CMAKE_FLAGS ?=

.PHONY: all setup build native fuzz win win64 run test test-native test-fuzz test-win clean

all: build

setup:
	@bash tools/setup.sh

build: native fuzz win win64

native:
	cmake -S . -B $(NATIVE) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(NATIVE) -j $(JOBS)

fuzz:
	cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKL_FUZZ=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)

# A build folder keeps the compiler it was first set up with: one made with another
# MinGW thread model than the toolchain file names now is set up afresh.
fresh-compiler = @if [ -f $(1)/CMakeCache.txt ] && ! grep -qs -- '-g++-win32"' $(1)/CMakeFiles/*/CMakeCXXCompiler.cmake; then \
	echo "$(1): set up again for the win32 thread model compilers"; rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; fi

# The product: 32-bit Windows.
win:
	$(call fresh-compiler,$(WIN))
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN) -j $(JOBS)

# The same sources for 64-bit Windows: what Wine runs where the machine refuses 32-bit programs.
win64:
	$(call fresh-compiler,$(WIN64))
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN64) -j $(JOBS)

# The editor from the 32-bit program folder where this machine runs 32-bit programs,
# otherwise from the 64-bit one.
run: setup win win64
	@if why=$$(bash tools/can-run-win32.sh); then bash tools/run-editor.sh $(WIN); \
	else echo "No 32-bit programs here ($$why): starting the 64-bit build."; \
	     bash tools/run-editor.sh $(WIN64); fi

test: setup build
	@bash tools/run-tests.sh $(NATIVE) $(FUZZ) $(WIN64) $(WIN)

test-native: setup native
	ctest --test-dir $(NATIVE) -j $(JOBS) --output-on-failure --no-tests=error
test-fuzz: setup fuzz
	ctest --test-dir $(FUZZ) -j $(JOBS) --output-on-failure --no-tests=error
test-win: setup win win64
	@bash tools/run-tests.sh "" "" $(WIN64) $(WIN)

clean:
	rm -rf build
