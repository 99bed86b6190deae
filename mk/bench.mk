# `make bench`: the engine's costs and the whole program's start-up, memory,
# CPU in each wait and key-to-repaint delay, in one table.
# `make bench-peers` (not part of CI): start-up and memory beside the
# falling-block games Debian ships, measured the same way.
BENCH_BUILD ?= build-bench
PEER_GAMES  := kblocks quadrapassel ltris

.PHONY: bench bench-build bench-peers

bench-build: deps
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTUMBLARA_BENCH=ON -DTUMBLARA_TESTS=OFF >/dev/null
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
