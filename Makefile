# The README's commands. Every target installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD := build

# Debian packages the build and the tests need.
PACKAGES := cmake make g++ python3 libgtest-dev googletest libbenchmark-dev \
	g++-i686-linux-gnu qemu-user g++-mingw-w64-i686 binutils-mingw-w64-i686 \
	libpugixml-dev libzip-dev libxml2-utils zip unzip clang

.PHONY: deps demo test configure-% build-% test-native test-asan test-i686 test-windows format

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	else echo "all packages present"; fi

$(BUILD)/native/CMakeCache.txt:
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZK_BUILD_BENCH=ON
$(BUILD)/asan/CMakeCache.txt:
	cmake -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DZK_SANITIZE=ON
$(BUILD)/i686/CMakeCache.txt:
	cmake -S . -B $(BUILD)/i686 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake
$(BUILD)/windows/CMakeCache.txt:
	cmake -S . -B $(BUILD)/windows -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

build-%: deps $(BUILD)/%/CMakeCache.txt
	cmake --build $(BUILD)/$* -j $(JOBS)

test-native: build-native
	cd $(BUILD)/native && ctest --output-on-failure -j $(JOBS)
test-asan: build-asan
	cd $(BUILD)/asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)
test-i686: build-i686
	cd $(BUILD)/i686 && ctest --output-on-failure -j $(JOBS)
test-windows: build-windows
	tests/windows/check_dll.sh $(BUILD)/windows/bin/zkexplodelayers.dll

test: test-native test-asan test-i686 test-windows
	@echo "all configurations passed"

demo: build-native
	@if [ -x $(BUILD)/native/bin/explode-layers ]; then \
	  $(BUILD)/native/bin/explode-layers --demo --print -o $(BUILD)/demo.musicxml; \
	else \
	  echo "The demo arrives with the explode-layers command-line tool; the library is built in $(BUILD)/native."; \
	fi

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
