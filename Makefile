# A thin front door: the scripts do the work.
.PHONY: run test release clean

run:
	./scripts/run

test:
	./scripts/test

release:
	./scripts/release

clean:
	rm -rf build build-i686 build-release
