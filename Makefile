# The two commands a newcomer needs: `make run` plays the game, `make test` runs every test.
# Both install what is missing first.

NATIVE_TEST_DIR := build/asan
NATIVE_RELEASE_DIR := build/release
FUZZ_DIR := build/fuzz
WIN64_DIR := build/win64
WIN32_DIR := build/win32
PACKAGE_DIR := build/packages
JOBS ?= 2

.PHONY: run test deps native-test fuzz-test windows win64 win32 package bench replay

run: deps windows replay
	scripts/run-game.sh

test: deps native-test fuzz-test package
	Tests/E2E/run.sh
	Tests/Package/check.sh $(PACKAGE_DIR)

deps:
	scripts/install-deps.sh

native-test:
	cmake -S . -B $(NATIVE_TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCLANKMERE_SANITIZE=ON
	cmake --build $(NATIVE_TEST_DIR) -j $(JOBS)
	ctest --test-dir $(NATIVE_TEST_DIR) --output-on-failure -j $(JOBS)

fuzz-test:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCLANKMERE_FUZZ=ON -DCLANKMERE_SANITIZE=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	ctest --test-dir $(FUZZ_DIR) --output-on-failure

replay:
	cmake -S . -B $(NATIVE_RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(NATIVE_RELEASE_DIR) -j $(JOBS) --target clankmere-replay clankmere-bench

windows: win64 win32

win64:
	cmake -S . -B $(WIN64_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake
	cmake --build $(WIN64_DIR) -j $(JOBS)

win32:
	cmake -S . -B $(WIN32_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
	cmake --build $(WIN32_DIR) -j $(JOBS)

# The release packages of both Windows builds, all in $(PACKAGE_DIR): a zip and an installer of
# Clankmere.exe for x86_64 and for i686, and a zip of Clankmere9x.exe (i686).
package: deps windows
	rm -rf $(PACKAGE_DIR)
	cd $(WIN64_DIR) && cpack -D CPACK_OUTPUT_FILE_PREFIX=$(abspath $(PACKAGE_DIR))
	cd $(WIN32_DIR) && cpack -D CPACK_OUTPUT_FILE_PREFIX=$(abspath $(PACKAGE_DIR))

bench: deps replay
	$(NATIVE_RELEASE_DIR)/Bench/clankmere-bench
