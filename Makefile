# Thin wrapper around CMake. `make play` builds and starts the game; `make test` builds and runs
# every test, in a plain build and in a sanitizer build (address + undefined behaviour).
JOBS ?= 2

.PHONY: play test deps build build-asan clean

play: build
	./build/blackjack

test: build build-asan
	cd build && ctest --output-on-failure -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j$(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DBLACKJACK_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)

clean:
	rm -rf build build-asan
