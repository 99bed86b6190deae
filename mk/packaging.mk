# `make deb`: the Debian package, built with debhelper from a copy of the
# source in $(DEB_BUILD), so the tree stays clean. The package lands there:
# $(DEB_BUILD)/tumblara_<version>_<arch>.deb.
# `packaging-ci`: builds it, runs lintian on it, then plays the game unpacked
# from it under Xvfb.
DEB_BUILD ?= build-deb

.PHONY: deb packaging-ci

deb:
	@scripts/ensure-deps.sh deb
	@rm -rf $(DEB_BUILD) && mkdir -p $(DEB_BUILD)/tumblara
	@tar -c --exclude=./.git --exclude='./build*' --exclude=./run . | tar -x -C $(DEB_BUILD)/tumblara
	@echo "Building the package in $(DEB_BUILD) (log: $(DEB_BUILD)/build.log)"
	@cd $(DEB_BUILD)/tumblara && DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" \
	  dpkg-buildpackage -b -us -uc >../build.log 2>&1 || { tail -30 ../build.log; exit 1; }
	@ls $(DEB_BUILD)/tumblara_*.deb

packaging-ci: deb
	lintian --fail-on error --display-info $(DEB_BUILD)/tumblara_*.deb
	packaging/tests/unpacked_play.sh $(DEB_BUILD)/tumblara_*.deb

CI_TARGETS += packaging-ci
