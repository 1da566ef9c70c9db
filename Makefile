# Thin wrapper around CMake. `make play` builds the game alone and starts it; `make test` builds
# and runs every test, in a plain build and in a sanitizer build (address + undefined behaviour),
# runs each fuzz target for FUZZ_SECONDS, builds and plays the install of the README, builds and
# checks the Debian package, and runs the Windows build's tests under Wine. `make package` builds
# the .deb into build-package/; `make windows` cross-builds the Windows game into dist/.
JOBS ?= 2
FUZZ_SECONDS ?= 25
FUZZ_TARGETS = key_decoder bet_line
# The project's own builds treat warnings as errors.
CONFIGURE = cmake -S . -DBLACKJACK_WERROR=ON
WINDOWS_CONFIGURE = $(CONFIGURE) -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	-DCMAKE_BUILD_TYPE=Release -DBLACKJACK_SOUND_DIR=$(CURDIR)/build/data \
	-DBLACKJACK_WINE_SMOKE_TEST=$(CURDIR)/build/wine_smoke_test

.PHONY: play test fuzz build-game build build-asan build-fuzz install-check package package-check windows clean

play: build-game
	./build/blackjack

test: build build-asan fuzz install-check package-check windows
	cd build && ctest --output-on-failure -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)
	$(WINDOWS_CONFIGURE) -DBLACKJACK_TESTS=ON
	cmake --build build-windows -j$(JOBS)
	cd build-windows && ctest --output-on-failure

# A first configure leaves the tests out, so that playing needs only the game's own packages;
# a folder that `make test` has configured keeps them, and only the game is rebuilt.
build-game:
	./scripts/install-deps.sh game
	$(CONFIGURE) -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(if $(wildcard build/CMakeCache.txt),,-DBLACKJACK_TESTS=OFF)
	cmake --build build -j$(JOBS) --target blackjack sounds

build:
	./scripts/install-deps.sh test
	$(CONFIGURE) -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLACKJACK_TESTS=ON
	cmake --build build -j$(JOBS)

build-asan:
	./scripts/install-deps.sh test
	$(CONFIGURE) -B build-asan -DCMAKE_BUILD_TYPE=Debug -DBLACKJACK_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)

# libFuzzer needs clang. New inputs go to build-fuzz/corpus, beside the seeds kept in fuzz/corpus;
# a failing input is saved in build-fuzz/ and the end of the fuzzer's log is shown.
build-fuzz:
	./scripts/install-deps.sh test
	$(CONFIGURE) -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
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

# The README's install commands as a user types them, in their own folder and without -Werror,
# but a warning still fails here. The install goes into a staging folder, and the installed game
# is played from another folder with its sounds.
install-check:
	./scripts/install-deps.sh test
	cmake -S . -B build-install -DCMAKE_BUILD_TYPE=Release -DBLACKJACK_TESTS=OFF
	CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) cmake --build build-install > build-install/build.log 2>&1 \
		|| { cat build-install/build.log; exit 1; }
	! grep -A5 'warning:' build-install/build.log
	rm -rf build-install/staging
	DESTDIR=$(CURDIR)/build-install/staging cmake --install build-install
	sh tests/piped_game.sh build-install/staging/usr/local/bin/blackjack

# With the compiler and linker flags of Debian's own package builds, hardening included.
package:
	./scripts/install-deps.sh package
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	CXXFLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DBLACKJACK_TESTS=OFF \
		-DBLACKJACK_DEBIAN_PACKAGE=ON -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build-package -j$(JOBS)
	rm -f build-package/*.deb
	cd build-package && cpack

package-check: package
	./scripts/install-deps.sh test
	lintian --fail-on error build-package/blackjack_*.deb
	sh tests/package/check_package.sh build-package/blackjack_*.deb

# The Windows game, cross-built with mingw-w64, zipped with the sounds that the native build's
# synthesizer makes. `make test` turns the Windows tests on: they run under Wine, and the native
# build's wine_smoke_test plays the game there.
windows: build-game
	./scripts/install-deps.sh windows
	$(WINDOWS_CONFIGURE) -DBLACKJACK_TESTS=OFF
	cmake --build build-windows -j$(JOBS) --target windows_zip

clean:
	rm -rf build build-asan build-fuzz build-install build-package build-windows dist
