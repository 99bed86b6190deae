# Installs the CI build into a throw-away prefix and checks the layout, the
# desktop entry, the metainfo and the icons.
.PHONY: packaging-ci
packaging-ci: build
	@python3 packaging/check_install.py $(BUILD)

CI_TARGETS += packaging-ci
