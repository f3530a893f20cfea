# The two set-up commands are `make run` and `make test`; both install what is
# missing first. `make bench` builds optimised and runs the benchmarks.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE := build/release
CHECKED := build/checked

.PHONY: run test bench deps build clean

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

bench: build
	@for b in $(RELEASE)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build out
