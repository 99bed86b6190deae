# Two commands: `make run` and `make test`. Both install what is missing first:
# `make run` only what the game needs, `make test` everything the suite needs.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

# Extra checks that CI runs after the suite; the files in mk/ add to it.
CI_TARGETS :=

.PHONY: all deps deps-game build build-game run test ci clean

all: build

# Everything the suite and the extra checks in mk/ need.
deps:
	@scripts/ensure-deps.sh test

deps-game:
	@scripts/ensure-deps.sh run

# The game alone, without the test suite.
build-game: deps-game
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTUMBLARA_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target tumblara

# Everything, tests included.
build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTUMBLARA_TESTS=ON >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build-game
	./$(BUILD)/tumblara

test: build
	cd $(BUILD) && ctest --output-on-failure -j2 --timeout 300

clean:
	rm -rf $(BUILD) build-*

-include mk/*.mk

ci: $(CI_TARGETS)
