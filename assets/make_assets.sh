#!/bin/sh
# Regenerates every picture and sound of the game from the programs in assets/src/.
# Needs Debian's python3 with PIL and numpy (python3-pil, python3-numpy), lame and the IPAGothic font
# (fonts-ipafont-gothic). The outputs are committed, so an ordinary build does not run this.
set -e
here=$(cd "$(dirname "$0")" && pwd)
echo "pictures:"
/usr/bin/python3 "$here/src/make_pictures.py" "$here"
echo "sounds:"
/usr/bin/python3 "$here/src/make_sounds.py" "$here"
