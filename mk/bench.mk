# `make bench`: the engine's costs and the whole program's start-up, memory,
# CPU in each wait and key-to-repaint delay, in one table. It plays the real
# window up to level 5 for the 50 ms figures, which takes about two minutes,
# then times the falling-block games Debian ships beside it when they are
# installed. `make bench-peers` (not part of CI) installs them and measures
# start-up and memory only.
# `make bench-ci`: the tests of the bench tools and a short engine run, which
# checks that the replayed whole game is the planned one.
BENCH_BUILD ?= build-bench
PEER_GAMES  := kblocks quadrapassel ltris

.PHONY: bench bench-configure bench-build bench-peers bench-ci

bench-configure: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTUMBLARA_BENCH=ON -DTUMBLARA_TESTS=OFF >/dev/null

bench-build: bench-configure
	@cmake --build $(BENCH_BUILD) -j$(JOBS)

bench: bench-build
	@$(BENCH_BUILD)/bench/bench_tests --gtest_brief=1
	@python3 bench/measure_program.py --build $(BENCH_BUILD)

bench-peers: bench-build
	@missing=$$(for p in $(PEER_GAMES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else echo "Run: sudo apt-get install -y $$missing" >&2; exit 1; fi; \
	fi
	@python3 bench/measure_program.py --build $(BENCH_BUILD) --peers

bench-ci: bench-configure
	@cmake --build $(BENCH_BUILD) -j$(JOBS) --target bench_tests engine_bench
	@$(BENCH_BUILD)/bench/bench_tests --gtest_brief=1
	@python3 bench/measure_program.py --build $(BENCH_BUILD) --engine-only

CI_TARGETS += bench-ci
