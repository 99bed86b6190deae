# `make debian13`: the project on Debian 13 as a new user meets it. In a fresh
# minimal Debian 13 root (scripts/debian-root.sh), a clean clone of the current
# commit, with only git and make installed first, does what `make run` does
# (the game, on Qt's offscreen platform, still running after 10 s), `make test` and
# `make deb-lint`; then the package built there is installed, without the
# packages it recommends, in a second fresh root, and its own test runs there.
# The clone, the packages and the whole log stay in build-debian13; the times
# of the steps are printed at the end. `make debian12` does the same on Debian 12.
.PHONY: debian12 debian13

# dpkg's lines for each package it unpacks and sets up, left in the log only.
APT_CHATTER := ^(Selecting previously|Preparing to unpack|Unpacking|Setting up|Processing triggers|\(Reading database)

debian12: FRESH_SUITE := bookworm
debian13: FRESH_SUITE := trixie

debian12 debian13:
	@scripts/ensure-deps.sh roots
	@rm -rf build-$@ && mkdir -p build-$@
	@git init -q build-$@/src && git -C build-$@/src fetch -q "$(CURDIR)" HEAD && \
	  git -C build-$@/src checkout -q FETCH_HEAD
	@set -e; start=$$(date +%s); \
	scripts/debian-root.sh $(FRESH_SUITE) build-$@ sh -c 'export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -qq && apt-get install -y -qq git make >/dev/null && cd /share/src && \
	  make build-game && { QT_QPA_PLATFORM=offscreen timeout 10 build/tumblara; [ $$? -eq 124 ]; } && \
	  make test && make deb-lint' >build-$@/log 2>&1 || status=$$?; \
	grep -vE '$(APT_CHATTER)' build-$@/log || true; [ -z "$$status" ] || exit $$status; \
	built=$$(date +%s); \
	scripts/debian-root.sh $(FRESH_SUITE) build-$@/src/$(DEB_BUILD) /share/tumblara/packaging/tests/installed_play.sh; \
	echo "$@: make test and make deb-lint took $$((built - start)) s, the installed package's test \
	$$(($$(date +%s) - built)) s"

CI_TARGETS += debian13
