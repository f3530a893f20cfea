# The two set-up commands are `make run` and `make test`; both install what is
# missing first. `make bench` builds optimised and runs the benchmarks;
# `make install` installs under PREFIX; `make deb` builds the Debian package.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE := build/release
CHECKED := build/checked
DEB := build/deb
PREFIX ?= /usr/local

.PHONY: run test bench deps build install deb clean

deps:
	@sh scripts/deps.sh

$(RELEASE)/CMakeCache.txt:
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release

$(CHECKED)/CMakeCache.txt:
	cmake -S . -B $(CHECKED) -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON

build: deps $(RELEASE)/CMakeCache.txt
	cmake --build $(RELEASE) -j $(JOBS)

run: build
	@sh scripts/run.sh $(RELEASE)/quorvane

test: deps $(CHECKED)/CMakeCache.txt
	cmake --build $(CHECKED) -j $(JOBS)
	cd $(CHECKED) && ctest --output-on-failure -j $(JOBS)

# The program finds its help page under the prefix it was built for, so the
# prefix is set when configuring, not when installing.
install: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
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

clean:
	rm -rf build out
