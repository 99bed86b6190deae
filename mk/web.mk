# `make web`: the game for web browsers, built with Debian's emscripten into
# $(WEB_BUILD), a static site: index.html, tumblara.js and tumblara.wasm, the
# three wave files (written by the desktop build's own tool) and the two font
# faces the page serves, with their licence. Serve it with
#   python3 -m http.server -d build-web
# Debian's emscripten runs on the machine's Node.js, which does not look in
# Debian's module folder by itself.
WEB_BUILD ?= build-web
WEB_WORK  ?= build-web-cmake
WEB_FONTS := texgyretermes-bold.otf texgyrepagella-bold.otf GUST-FONT-LICENSE.txt
WEB_ENV   := NODE_PATH=/usr/share/nodejs

.PHONY: web deps-web

deps-web:
	@scripts/ensure-deps.sh web

web: deps-web
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_WORK) -DCMAKE_BUILD_TYPE=MinSizeRel -DTUMBLARA_TESTS=OFF >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_WORK) -j$(JOBS) --target tumblara
	@mkdir -p $(WEB_BUILD)/fonts
	@cp web/index.html $(WEB_WORK)/web/tumblara.js $(WEB_WORK)/web/tumblara.wasm $(WEB_BUILD)/
	@c++ -std=c++20 -O2 -I. ui/sound/make_waves.cpp ui/sound/WaveSynth.cpp -o $(WEB_WORK)/make_waves
	@$(WEB_WORK)/make_waves $(WEB_BUILD)
	@for f in $(WEB_FONTS); do cp "$$(dpkg -L fonts-texgyre | grep "/$$f$$" | head -n1)" $(WEB_BUILD)/fonts/; done
	@echo "The site is in $(WEB_BUILD)/: python3 -m http.server -d $(WEB_BUILD), then open http://localhost:8000/"

# The browser tests play the site.
test: web
# make bench measures the site too.
bench: web
