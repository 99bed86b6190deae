# `make deb`: the Debian source package and, built from it with debhelper, the
# binary package, from a copy of the source in $(DEB_BUILD), so the tree stays
# clean. They land there: $(DEB_BUILD)/tumblara_<version>.dsc and .tar.xz, and
# $(DEB_BUILD)/tumblara_<version>_<arch>.deb.
# `make deb-lint`: builds them and runs lintian on both; any error or warning fails.
# `make deb-reproducible`: builds the package a second time, in another folder,
# time zone and umask, and compares the two by their SHA-256 sums.
# `make deb-installed`: installs the package, without what it only
# recommends, in a fresh root of this machine's Debian release, and runs the
# package's own test there (debian/tests, with autopkgtest): the game plays,
# silently, under Xvfb.
# `packaging-ci`: the lint and the comparison, then plays the game unpacked
# from the package under Xvfb.
DEB_BUILD ?= build-deb
DEB_AGAIN ?= build-deb-again
DEB_SUITE ?= $(shell . /etc/os-release && echo $$VERSION_CODENAME)
# Everything in one build is dated by the last commit, so that two builds of
# one commit agree; outside git, dpkg takes the changelog's date.
DEB_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null)
DEB_ENV    = DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" $(if $(DEB_EPOCH),SOURCE_DATE_EPOCH=$(DEB_EPOCH))

.PHONY: deb deb-lint deb-reproducible deb-installed packaging-ci

# The files git knows, changed or not, and new ones it does not ignore;
# outside git, everything but the build folders.
deb:
	@scripts/ensure-deps.sh deb
	@rm -rf $(DEB_BUILD) && mkdir -p $(DEB_BUILD)/tumblara
	@if git rev-parse --git-dir >/dev/null 2>&1; then \
	  git ls-files -z -co --exclude-standard | tar --null -T - --ignore-failed-read -c 2>/dev/null; \
	else tar -c --exclude=./.git --exclude='./build*' --exclude=./run .; fi | tar -x -C $(DEB_BUILD)/tumblara
	@echo "Building the packages in $(DEB_BUILD) (log: $(DEB_BUILD)/build.log)"
	@cd $(DEB_BUILD) && $(DEB_ENV) dpkg-source -b tumblara >build.log 2>&1 || { tail -30 build.log; exit 1; }
	@cd $(DEB_BUILD)/tumblara && $(DEB_ENV) dpkg-buildpackage -b -us -uc >>../build.log 2>&1 || \
	  { tail -30 ../build.log; exit 1; }
	@ls $(DEB_BUILD)/tumblara_*.dsc $(DEB_BUILD)/tumblara_*.deb

deb-lint: deb
	lintian --fail-on error,warning --display-info $(DEB_BUILD)/tumblara_*.dsc $(DEB_BUILD)/tumblara_*.deb

deb-reproducible: deb
	@umask 0002 && TZ=Pacific/Kiritimati $(MAKE) --no-print-directory deb DEB_BUILD=$(DEB_AGAIN) >/dev/null
	@cd $(DEB_BUILD) && sha256sum *.deb | tee SHA256SUMS
	@cd $(DEB_AGAIN) && sha256sum *.deb | tee SHA256SUMS
	@cmp -s $(DEB_BUILD)/SHA256SUMS $(DEB_AGAIN)/SHA256SUMS || { echo "two builds of one commit differ"; exit 1; }
	@echo "deb-reproducible: two builds of one commit are byte for byte the same"

# In a fresh root of this machine's Debian release: the package installed
# without the packages it recommends, and its own test run there.
deb-installed: deb
	@scripts/ensure-deps.sh roots
	scripts/debian-root.sh $(DEB_SUITE) $(DEB_BUILD) /share/tumblara/packaging/tests/installed_play.sh

# The installed package's test runs in CI in `make debian13`, on the package
# built there.
packaging-ci: deb-lint deb-reproducible
	packaging/tests/unpacked_play.sh $(DEB_BUILD)/tumblara_*.deb

CI_TARGETS += packaging-ci
