# The two set-up commands are `make run` and `make test`; both install what is
# missing first: `make run` only what building and running the program needs,
# and builds only the program; `make test` everything, checks the layout of
# the sources (scripts/format.sh; `sh scripts/format.sh --fix` mends it), and
# builds and runs every test. `make bench` builds optimised and runs the benchmarks;
# `make fuzz` builds the fuzz targets with clang and runs each for
# FUZZ_SECONDS (new inputs gather in build/fuzz/corpus, crashes in build/fuzz);
# `make install` installs under PREFIX; `make deb` builds the Debian package.
# `make windows` builds quorvane.scr for 64- and 32-bit Windows (out/windows/);
# `make test` also builds the 64-bit one with its tests and runs them under Wine.
# `make windows-dist` makes the Windows installer and portable zip of them
# (dist/); `make dist` every release artefact with its SHA-256 sum (dist/).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE := build/release
CHECKED := build/checked
DEB := build/deb
FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := profile_store profile_store_write packed_dib command_line bmp_image jpeg_image
PREFIX ?= /usr/local
WIN64 := build/windows-x64
WIN32 := build/windows-x86
WINTEST := build/windows-test

.PHONY: run test bench fuzz deps run-deps build install deb clean

deps:
	@sh scripts/deps.sh

run-deps:
	@sh scripts/deps.sh run

# The optimised tree starts with the saver alone, so that it configures
# without the packages of the configuration program, the tests and the
# benchmarks; `make build` and `make install` switch the rest on.
$(RELEASE)/CMakeCache.txt:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF \
	    -DQV_BUILD_CONFIG=OFF

# Built for /usr, as a Debian package is: the package test checks it as such.
$(CHECKED)/CMakeCache.txt:
	cmake -S . -B $(CHECKED) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DCMAKE_INSTALL_PREFIX=/usr

build: deps $(RELEASE)/CMakeCache.txt
	cmake -S . -B $(RELEASE) -DQV_BUILD_TESTS=ON -DQV_BUILD_BENCH=ON -DQV_BUILD_CONFIG=ON
	cmake --build $(RELEASE) -j $(JOBS)

run: run-deps $(RELEASE)/CMakeCache.txt
	cmake --build $(RELEASE) -j $(JOBS) --target quorvane
	@sh scripts/run.sh $(RELEASE)/quorvane

# The Windows tests compare the Windows program's pictures with those of the
# Linux program built above; without sanitizers (mingw-w64 has none).
$(WINTEST)/CMakeCache.txt:
	cmake -S . -B $(WINTEST) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug \
	    -DQV_LINUX_PROGRAM=$(abspath $(CHECKED))/quorvane

test: deps $(CHECKED)/CMakeCache.txt $(WINTEST)/CMakeCache.txt
	@sh scripts/format.sh
	cmake --build $(CHECKED) -j $(JOBS)
	cmake --build $(WINTEST) -j $(JOBS)
	cd $(CHECKED) && ctest --output-on-failure -j $(JOBS)
	cd $(WINTEST) && ctest --output-on-failure -j $(JOBS)

# quorvane.scr for 64- and 32-bit Windows, statically linked and stripped.
.PHONY: windows windows-deps
windows-deps:
	@sh scripts/deps.sh windows

windows: windows-deps
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	    -DQV_BUILD_TESTS=OFF
	cmake --build $(WIN64) -j $(JOBS) --target quorvane
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release \
	    -DQV_BUILD_TESTS=OFF
	cmake --build $(WIN32) -j $(JOBS) --target quorvane
	mkdir -p out/windows/x64 out/windows/x86
	cp $(WIN64)/quorvane.scr out/windows/x64/
	cp $(WIN32)/quorvane.scr out/windows/x86/

VERSION := $(shell sed -n 's/^project.Quorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
.PHONY: windows-dist dist dist-deps
dist-deps:
	@sh scripts/deps.sh dist

windows-dist: dist-deps windows
	sh scripts/windows-dist.sh $(VERSION) out/windows/x64/quorvane.scr out/windows/x86/quorvane.scr dist

dist: dist-deps deb windows
	sh scripts/dist.sh dist $(DEB) out/windows/x64/quorvane.scr out/windows/x86/quorvane.scr

# `make gallery` renders the pictures of docs/gallery again (every style alone
# and three whole runs, with the optimised program) and the help page's table
# of the styles.
.PHONY: gallery
gallery: run-deps $(RELEASE)/CMakeCache.txt
	cmake --build $(RELEASE) -j $(JOBS) --target quorvane
	JOBS=$(JOBS) sh scripts/gallery.sh $(RELEASE)/quorvane docs/gallery docs/quorvane.htm

# The program finds its help page under the prefix it was built for, so the
# prefix is set when configuring, not when installing.
install: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) -DQV_BUILD_CONFIG=ON
	cmake --build $(RELEASE) -j $(JOBS)
	cmake --install $(RELEASE)

# A package installs under /usr, as Debian's own do.
deb: deps
	cmake -S . -B $(DEB) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
	cmake --build $(DEB) -j $(JOBS)
	cd $(DEB) && cpack -G DEB

bench: build
	@for b in $(RELEASE)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

fuzz:
	@sh scripts/deps.sh fuzz
	cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DQV_FUZZ=ON -DQV_BUILD_TESTS=OFF -DQV_BUILD_BENCH=OFF
	cmake --build $(FUZZ) -j $(JOBS) $(FUZZ_TARGETS:%=--target fuzz_%)
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ)/corpus/$$t && \
	    dict=; [ -f fuzz/$$t.dict ] && dict=-dict=fuzz/$$t.dict; \
	    $(FUZZ)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ)/$$t- \
	        $$dict $(FUZZ)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

# `make soak`: the optimised program headless for one simulated hour at
# 1920x1080, twenty seeds, two at a time; the figures and the styles drawn
# by each seed in build/soak.
.PHONY: soak soak-deps
soak-deps:
	@sh scripts/deps.sh soak

soak: soak-deps $(RELEASE)/CMakeCache.txt
	cmake --build $(RELEASE) -j $(JOBS) --target quorvane
	@sh scripts/soak.sh $(RELEASE)/quorvane build/soak

clean:
	rm -rf build out
