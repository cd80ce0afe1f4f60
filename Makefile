# The project's commands. Every target installs what is missing first.
BUILD  ?= build
NATIVE := $(BUILD)/native
MINGW  := $(BUILD)/mingw
JOBS   ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

# We ship two builds of one program: 32-bit (build/mingw) and 64-bit
# (build/mingw64). Where the kernel can run 32-bit programs, the Windows
# tests, the demo and the bench run the 32-bit build under 32-bit Wine; where
# it cannot, 32-bit Wine cannot start either and they run the 64-bit build
# under 64-bit Wine.
MINGW64 := $(BUILD)/mingw64
WINARCH := $(shell scripts/win-arch)
ifeq ($(WINARCH),i686)
WINRUN := $(MINGW)
else
WINRUN := $(MINGW64)
endif

FUZZ   := $(BUILD)/fuzz

.PHONY: all bootstrap native mingw winrun fuzz-targets test run bench fuzz dist clean
# One build at a time: each runs its own jobs in parallel, and two that share
# a folder (mingw and winrun) would trample each other.
.NOTPARALLEL:

all: native mingw

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# configure-mingw DIR ARCH: sets up a Windows build folder.
configure-mingw = cmake -S . -B $(1) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(2).cmake >/dev/null

# Both programs we ship, and nothing else.
mingw: bootstrap
	@$(call configure-mingw,$(MINGW),i686)
	@cmake --build $(MINGW) -j $(JOBS) --target TAVELIN
	@$(call configure-mingw,$(MINGW64),x86_64)
	@cmake --build $(MINGW64) -j $(JOBS) --target TAVELIN

# Everything in the build whose programs Wine runs here: the program, the
# Windows tests and the benchmarks.
winrun: bootstrap
	@$(call configure-mingw,$(WINRUN),$(WINARCH))
	@cmake --build $(WINRUN) -j $(JOBS)

# libFuzzer needs clang: a build of its own, of the fuzz targets only.
fuzz-targets: bootstrap
	@cmake -S . -B $(FUZZ) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target fuzz_targets

# One ctest run over the builds, so one summary counts the native and the
# Wine tests, a brief run of every fuzz target (a fixed seed, a few seconds
# each, from an empty corpus), the checks of both shipped program files, the
# release built from a clean tree and held to the programs the tests ran
# (scripts/check-dist: a build of its own that takes every processor), the
# check that the source folders include only the layers below them, and the
# check that every C++ source is as clang-format writes it.
test: native mingw winrun fuzz-targets
	@mkdir -p $(FUZZ)/findings
	@{ printf 'subdirs("native" "%s")\n' "$(notdir $(WINRUN))"; \
	   for t in $(abspath $(FUZZ))/*_fuzz; do \
	     printf 'add_test(fuzz.%s "%s" -seed=1 -max_total_time=4 "-artifact_prefix=%s/findings/%s-")\n' \
	       "$$(basename $$t)" "$$t" "$(abspath $(FUZZ))" "$$(basename $$t)"; \
	   done; \
	   printf 'add_test(shipped.program_file_i686 "%s" "%s" i686)\n' \
	     "$(abspath scripts/check-program)" "$(abspath $(MINGW))/TAVELIN.exe"; \
	   printf 'add_test(shipped.program_file_x86_64 "%s" "%s" x86_64)\n' \
	     "$(abspath scripts/check-program)" "$(abspath $(MINGW64))/TAVELIN.exe"; \
	   printf 'add_test(shipped.dist "%s" "%s" "%s" "%s")\n' \
	     "$(abspath scripts/check-dist)" "$(abspath $(BUILD))/dist-test" \
	     "$(abspath $(MINGW))" "$(abspath $(MINGW64))"; \
	   printf 'set_tests_properties(shipped.dist PROPERTIES TIMEOUT 1800 PROCESSORS %s)\n' "$(JOBS)"; \
	   printf 'add_test(source.layers "%s" "%s")\n' \
	     "$(abspath scripts/check-layers)" "$(abspath .)"; \
	   printf 'add_test(source.format "%s" "%s")\n' \
	     "$(abspath scripts/check-format)" "$(abspath .)"; \
	 } > $(BUILD)/CTestTestfile.cmake
	@# Start from a fresh wineserver: one left over from an earlier run (the
	@# demo's, say) may hold a tray that answers slowly.
	@WINEPREFIX=$(abspath $(WINRUN))/wineprefix wineserver -k 2>/dev/null || true
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600; \
	  rc=$$?; WINEPREFIX=$(abspath $(WINRUN))/wineprefix wineserver -k 2>/dev/null; exit $$rc

# The longer run, each target from its own corpus.
fuzz: fuzz-targets
	@scripts/fuzz $(FUZZ)

bench: native winrun
	@scripts/bench $(NATIVE) $(WINRUN)

# The demo needs the program only: no tests, no native build.
run: bootstrap
	@$(call configure-mingw,$(WINRUN),$(WINARCH))
	@cmake --build $(WINRUN) -j $(JOBS) --target TAVELIN
	@scripts/demo $(WINRUN)

# The release: both programs built afresh from the last commit (not the work
# tree) in folders of their own, zipped each with the guide into dist/.
dist: bootstrap
	@JOBS=$(JOBS) scripts/dist dist $(BUILD)/dist

clean:
	rm -rf $(BUILD)
