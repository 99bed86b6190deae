# `make bench`: the engine's costs and the whole program's start-up, memory,
# CPU in each wait, key-to-repaint delay and repaint areas, in one table, then
# the falling-block games Debian ships beside it when they are installed. A
# missed target is marked in the table; only a failing program fails the run.
# `make bench-peers` (not part of CI) installs them and measures start-up and
# memory only. `make bench-ci`: a short engine run.
BENCH_BUILD ?= build-bench
PEER_GAMES  := kblocks quadrapassel ltris

.PHONY: bench bench-configure bench-build bench-peers bench-ci

bench-configure: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTUMBLARA_BENCH=ON -DTUMBLARA_TESTS=OFF >/dev/null

bench-build: bench-configure
	@cmake --build $(BENCH_BUILD) -j$(JOBS)

bench: bench-build
	@python3 bench/measure_program.py --build $(BENCH_BUILD)

bench-peers: bench-build
	@missing=$$(for p in $(PEER_GAMES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else echo "Run: sudo apt-get install -y $$missing" >&2; exit 1; fi; \
	fi
	@python3 bench/measure_program.py --build $(BENCH_BUILD) --peers

bench-ci: bench-configure
	@cmake --build $(BENCH_BUILD) -j$(JOBS) --target engine_bench
	@python3 bench/measure_program.py --build $(BENCH_BUILD) --engine-only

CI_TARGETS += bench-ci
