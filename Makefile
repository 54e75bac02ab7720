# The two commands: `make run` starts Kelvane under Wine, `make test` runs the whole suite.
# Both install whatever is missing first (Debian 12). `make package` builds the zip and the
# installer into dist/, `make bench` measures the program under Wine against its baselines.
# `make install` puts Kelvane into the user's desktop menu, `make uninstall` takes it out again.
.PHONY: all setup build run test screenshot package bench install uninstall clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw -j2 -- --no-print-directory

run: build
	@scripts/run.sh

test: build
	@scripts/test.sh

clean:
	rm -rf build

screenshot: build
	@scripts/screenshot.sh

package: build
	@scripts/package.sh

bench: build
	@scripts/bench.sh

install: build
	@scripts/install.sh

uninstall:
	@scripts/install.sh --uninstall
