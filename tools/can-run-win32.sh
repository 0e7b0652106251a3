#!/usr/bin/env bash
# Exit 0 when this machine can run 32-bit Windows programs under Wine, by trying. Otherwise
# prints the reason and exits
#   1  where the kernel refuses 32-bit programs (nothing to be done on this machine),
#   2  where the kernel runs them but 32-bit Wine is missing or does not start, or
#   3  where it cannot tell whether the kernel runs them (the probe's reason is printed).
# For the tests 2 and 3 both mean that the product's own Wine tests may have been able to
# run here and did not.
here=$(dirname "$0")
why=$(bash "$here/kernel-runs-32bit.sh")
case $? in
  0) ;;
  1) echo "this machine's kernel refuses 32-bit programs"; exit 1 ;;
  *) echo "$why"; exit 3 ;;
esac
loader=/usr/lib/wine/wine
if [ ! -x "$loader" ]; then
  echo "32-bit Wine ($loader, package wine32:i386) is not installed"
  exit 2
fi
if ! out=$("$loader" --version </dev/null 2>&1); then
  echo "32-bit Wine ($loader) does not start: $out"
  exit 2
fi
exit 0
