# The project's commands. Every target installs what is missing first.
BUILD  ?= build
NATIVE := $(BUILD)/native
MINGW  := $(BUILD)/mingw
JOBS   ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

# The program we ship is the 32-bit build. Where the kernel cannot run 32-bit
# programs, 32-bit Wine cannot start either; the Windows tests, the demo and
# the bench then run a 64-bit build of the same sources under 64-bit Wine.
WINARCH := $(shell scripts/win-arch)
ifeq ($(WINARCH),i686)
WINRUN := $(MINGW)
else
WINRUN := $(BUILD)/mingw64
endif

.PHONY: all bootstrap native mingw winrun test run bench fuzz clean

all: native mingw

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

mingw: bootstrap
	@cmake -S . -B $(MINGW) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(MINGW) -j $(JOBS)

# The build whose programs Wine runs here (the 32-bit one wherever it can).
winrun: mingw
ifneq ($(WINRUN),$(MINGW))
	@cmake -S . -B $(WINRUN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(WINARCH).cmake >/dev/null
	@cmake --build $(WINRUN) -j $(JOBS)
endif

# One ctest run over the builds, so one summary counts the native and the
# Wine tests, the check of the shipped program file, and the check that the
# source folders include only the layers below them.
test: native winrun
	@{ printf 'subdirs("native" "%s")\n' "$(notdir $(WINRUN))"; \
	   printf 'add_test(shipped.program_file "%s" "%s")\n' \
	     "$(abspath scripts/check-program)" "$(abspath $(MINGW))/TAVELIN.exe"; \
	   printf 'add_test(source.layers "%s" "%s")\n' \
	     "$(abspath scripts/check-layers)" "$(abspath .)"; \
	 } > $(BUILD)/CTestTestfile.cmake
	@# Start from a fresh wineserver: one left over from an earlier run (the
	@# demo's, say) may hold a tray that answers slowly.
	@WINEPREFIX=$(abspath $(WINRUN))/wineprefix wineserver -k 2>/dev/null || true
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600; \
	  rc=$$?; WINEPREFIX=$(abspath $(WINRUN))/wineprefix wineserver -k 2>/dev/null; exit $$rc

# libFuzzer needs clang: a build of its own.
fuzz: bootstrap
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)
	@scripts/fuzz $(BUILD)/fuzz

bench: native winrun
	@scripts/bench $(NATIVE) $(WINRUN)

run: winrun
	@scripts/demo $(WINRUN)

clean:
	rm -rf $(BUILD)
