# The game fuzzer: libFuzzer through clang, with ASan, UBSan and assertions.
#   make fuzz-ci      seeds, then FUZZ_SECONDS of fuzzing; prints the figures
#   make fuzz         fuzz until stopped (Ctrl-C), keeping new inputs
#   make fuzz-seeds   rewrites fuzz/corpus from fuzz/SeedWriter.cpp
# New inputs go to $(FUZZ_BUILD)/corpus; a failing input is saved in
# $(FUZZ_BUILD) as crash-*, timeout-* or oom-*, and can be replayed with
#   $(FUZZ_BUILD)/fuzz_replay --trace <file>
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_FLAGS    = -timeout=10 -rss_limit_mb=2048 -artifact_prefix=$(abspath $(FUZZ_BUILD))/

.PHONY: fuzz-build fuzz fuzz-ci fuzz-seeds

fuzz-build: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS)

fuzz-seeds: fuzz-build
	$(FUZZ_BUILD)/seed_writer fuzz/corpus

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/game_fuzzer $(FUZZ_FLAGS) $(FUZZ_BUILD)/corpus fuzz/corpus

fuzz-ci: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/corpus
	@$(FUZZ_BUILD)/fuzz_replay fuzz/corpus
	@status=0; \
	$(FUZZ_BUILD)/game_fuzzer $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus fuzz/corpus > $(FUZZ_BUILD)/fuzz.log 2>&1 || status=$$?; \
	runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(FUZZ_BUILD)/fuzz.log); \
	rate=$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_BUILD)/fuzz.log); \
	cov=$$(grep -o 'cov: [0-9]*' $(FUZZ_BUILD)/fuzz.log | tail -1); \
	corpus=$$(find $(FUZZ_BUILD)/corpus fuzz/corpus -type f | wc -l); \
	if [ $$status -ne 0 ]; then \
	    tail -n 60 $(FUZZ_BUILD)/fuzz.log; \
	    echo "fuzz: FAILED after $${runs:-?} executions; the input is in $(FUZZ_BUILD)/ (crash-*, timeout-*, oom-*)"; \
	    exit 1; \
	fi; \
	echo "fuzz: $$runs executions in $(FUZZ_SECONDS) s, $$rate per second, $$cov edges, corpus of $$corpus inputs, no rule broken"

CI_TARGETS += fuzz-ci
