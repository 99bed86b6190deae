# `make mutants-ci`: plants a sample of the recorded faults (tests/mutants/) in
# the suite's build, one at a time, and expects each caught by its tests. The
# commit picks the sample, so every fault is planted again over many commits;
# `tests/mutants/run.sh build` plants them all.
MUTANTS_SAMPLE ?= 8

.PHONY: mutants-ci

mutants-ci: build
	@tests/mutants/run.sh --sample $(MUTANTS_SAMPLE) $(BUILD)

CI_TARGETS += mutants-ci
