# `make debian13`: the project on Debian 13 as a new user meets it. In a fresh
# minimal Debian 13 root (scripts/debian-root.sh), a clean clone of the current
# commit, with only git and make installed first, runs `make test` and
# `make deb-lint`; then the package built there is installed, without the
# packages it recommends, in a second fresh root, and its own test runs there.
# The clone and the packages stay in $(D13_BUILD); the times of the steps are
# printed at the end.
D13_BUILD ?= build-debian13
D13_SUITE ?= trixie

.PHONY: debian13

debian13:
	@scripts/ensure-deps.sh roots
	@rm -rf $(D13_BUILD) && mkdir -p $(D13_BUILD)
	@git init -q $(D13_BUILD)/src && git -C $(D13_BUILD)/src fetch -q "$(CURDIR)" HEAD && \
	  git -C $(D13_BUILD)/src checkout -q FETCH_HEAD
	@set -e; start=$$(date +%s); \
	scripts/debian-root.sh $(D13_SUITE) $(D13_BUILD) sh -c 'export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq git make >/dev/null && cd /share/src && make test && make deb-lint'; \
	built=$$(date +%s); \
	scripts/debian-root.sh $(D13_SUITE) $(D13_BUILD)/src/$(DEB_BUILD) /share/tumblara/packaging/tests/installed_play.sh; \
	echo "debian13: make test and make deb-lint took $$((built - start)) s, the installed package's test \
	$$(($$(date +%s) - built)) s"

CI_TARGETS += debian13
