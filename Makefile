# Two commands: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

# Extra checks that CI runs after the suite; the files in mk/ add to it.
CI_TARGETS :=

.PHONY: all deps build run test ci clean

all: build

deps:
	@scripts/ensure-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/tumblara

test: build
	cd $(BUILD) && ctest --output-on-failure -j2 --timeout 300

clean:
	rm -rf $(BUILD) build-*

-include mk/*.mk

ci: $(CI_TARGETS)
