# Thin wrapper around CMake. `make play` builds and starts the game; `make test` builds and runs
# every test, in a plain build and in a sanitizer build (address + undefined behaviour), then
# runs each fuzz target for FUZZ_SECONDS.
JOBS ?= 2
FUZZ_SECONDS ?= 25
FUZZ_TARGETS = key_decoder bet_line

.PHONY: play test fuzz deps build build-asan build-fuzz clean

play: build
	./build/blackjack

test: build build-asan fuzz
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

# libFuzzer needs clang. New inputs go to build-fuzz/corpus, beside the seeds kept in fuzz/corpus;
# a failing input is saved in build-fuzz/ and the end of the fuzzer's log is shown.
build-fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DBLACKJACK_FUZZ=ON -DBLACKJACK_TESTS=OFF
	cmake --build build-fuzz -j$(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))

fuzz: build-fuzz
	@for unit in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$unit; \
		dictionary=""; [ -f fuzz/$$unit.dict ] && dictionary="-dict=fuzz/$$unit.dict"; \
		echo "Fuzzing $$unit for $(FUZZ_SECONDS) s"; \
		./build-fuzz/fuzz_$$unit -max_total_time=$(FUZZ_SECONDS) -timeout=5 $$dictionary \
			-artifact_prefix=build-fuzz/$$unit- build-fuzz/corpus/$$unit fuzz/corpus/$$unit \
			> build-fuzz/fuzz_$$unit.log 2>&1 \
			|| { tail -n 40 build-fuzz/fuzz_$$unit.log; exit 1; }; \
		tail -n 1 build-fuzz/fuzz_$$unit.log; \
	done

clean:
	rm -rf build build-asan build-fuzz
