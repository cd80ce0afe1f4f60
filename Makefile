# The project's commands. Every target installs what is missing first.
BUILD  ?= build
NATIVE := $(BUILD)/native
MINGW  := $(BUILD)/mingw
JOBS   ?= $(shell nproc)

.PHONY: all bootstrap native mingw test run bench fuzz clean

all: native mingw

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

mingw: bootstrap
	@cmake -S . -B $(MINGW) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(MINGW) -j $(JOBS)

# One ctest run over both builds, so one summary counts the native and the Wine tests.
test: native mingw
	@printf 'subdirs("native" "mingw")\n' > $(BUILD)/CTestTestfile.cmake
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600; \
	  rc=$$?; WINEPREFIX=$(abspath $(MINGW))/wineprefix wineserver -k 2>/dev/null; exit $$rc

# libFuzzer needs clang: a build of its own.
fuzz: bootstrap
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)
	@scripts/fuzz $(BUILD)/fuzz

bench: native mingw
	@scripts/bench $(NATIVE) $(MINGW)

run: mingw
	@scripts/demo $(MINGW)

clean:
	rm -rf $(BUILD)
